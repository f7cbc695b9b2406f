#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "core/figure_reader.h"
#include "core/kbmain.h"
#include "reports/print_flow.h"
#include "store/records.h"

namespace kb {

inline constexpr int kPaymentsRowsPerPage = 46;

// The first and last day of the report, both included.
struct DateRange {
    Date first;
    Date last;
};

// The report conditions as typed: the range, or the refusal to show (and the window stays open).
struct Conditions {
    std::optional<DateRange> range;
    const char* refusal = nullptr;
};
Conditions CheckConditions(std::string_view beginning, std::string_view ending);

// A payment of the work list: its row, which orders the list, and beside it what the report prints of the payment.
struct ReceivedPayment {
    // 30 characters: the payment date as yyyy/mm/dd, the loan number in 8 characters, the amount in 10. Sorted as
    // text, the rows run by date, then loan number, then amount.
    std::string row;
    Date date;
    // The first 8 characters of the payment key, left-justified in 8: the loan number the payment was posted to.
    std::string loanNbr;
    // The amount in its 10 characters; blank when it cannot be read.
    std::string amount;
};

// The work list of the payments dated within the range, sorted by their rows. An amount that cannot be read is
// left blank (and counts as 0 in the total) and is noted by `figures`.
std::vector<ReceivedPayment> GatherPayments(const std::vector<PaymentRecord>& payments, const DateRange& range,
                                            FigureReader& figures);

// Reads the payments of the range from the payments file and gathers them. A file that cannot be read is reported
// at once (titled "FILL LIST") and gives an empty list; so is an amount that cannot be read, after the list is built.
std::vector<ReceivedPayment> ReadPaymentsReceived(KBMain& kb, const DateRange& range);

// The report's pages from the work list: the 5-line heading on every page, 46 payments a page with the customer
// found by loan number, then an empty line and the total on the last page.
Report PaymentsReceivedReport(const std::string& title, const DateRange& range,
                              const std::vector<ReceivedPayment>& workList, const std::vector<LoanRecord>& loans);

// Prints the report: an empty work list ends it silently, before the print dialog (which offers a PDF file);
// Cancel there ends it silently too.
PrintOutcome PrintPmts(KBMain& kb, const std::string& title, const DateRange& range,
                       const std::vector<ReceivedPayment>& workList);

}  // namespace kb
