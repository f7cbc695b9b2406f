#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/currency.h"
#include "core/dates.h"
#include "core/kbmain.h"
#include "reports/print_flow.h"
#include "store/records.h"

namespace kb {

// The monthly payments missed from the due date to today, counted by calendar months whatever the loan's payments
// a year: each month from the due month to the month before today's counts, and today's month counts when its day
// has come. Stepping a month keeps the day or takes the month's last day, and goes on from there (01/31, 02/28,
// 03/28). nullopt when the due date lies after today's month, which the count would never reach.
std::optional<int> MissedPayments(Date due, Date today);

// The missed payments times the loan's payment, in money of four decimals.
Currency TotalDue(int missed, std::string_view payment);

// The 29 lines of the past-due letter.
std::vector<PrintLine> LateStatementLines(const LoanRecord& loan, Date today, Currency totalDue);

// Print Late Statement for the loan of the late list's selected row, by its loan number: the print dialog offering
// a PDF file (Cancel ends it silently), the loan looked up again, a paper prompt, then the one-page letter. A loan
// no longer on file, one without a due date, or one not yet past due (due today or later, say paid since the list
// was filled) is refused with a message before anything prints.
PrintOutcome PrintLateStatement(KBMain& kb, std::string_view loanNbr);

}  // namespace kb
