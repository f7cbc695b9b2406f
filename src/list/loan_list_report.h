#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/currency.h"
#include "core/figure_reader.h"
#include "core/kbmain.h"
#include "reports/print_flow.h"
#include "store/records.h"
#include "store/store.h"

namespace kb {

inline constexpr int kLoanListRowsPerPage = 46;

// A row of the loan list as the list shows it, with the loan it shows beside it and that loan's own balance and
// payment: the row's ten-character columns cut amounts of a million or more, so the report's totals add these
// instead.
struct ListedLoan {
    std::string row;
    LoanRecord loan;
    Currency balance;
    Currency payment;
};

// The loan list's rows for the loans in their order, leaving out loans without a loan number. An amount that
// cannot be read is blank in its row, counts as 0 and is noted by `figures`.
std::vector<ListedLoan> ListLoans(std::vector<LoanRecord> loans, FigureReader& figures);

// Type-ahead in the loan list: the row of the first listed loan whose key in the list's order starts with `typed`,
// compared without regard to case (the last name in name order, the loan number in the other two); -1 for none.
int TypeAheadRow(const std::vector<ListedLoan>& loans, LoanOrder order, std::string_view typed);

// The loan list report: the 6-line heading on every page, 46 rows a page each at column 2 exactly as listed, then
// an empty line and the totals of the balances and of the payments on the last page.
Report LoanListReport(const std::string& caption, const std::vector<ListedLoan>& loans);

// The Reports menu's Loan List: the print dialog offering a PDF file (Cancel, or an empty list, ends it silently),
// then the pages.
PrintOutcome PrintLoanList(KBMain& kb, const std::string& caption, const std::vector<ListedLoan>& loans);

}  // namespace kb
