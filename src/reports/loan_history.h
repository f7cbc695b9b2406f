#pragma once
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "loanbook/loan_fields.h"
#include "reports/print_flow.h"
#include "store/records.h"

namespace kb {

inline constexpr const char* kLoanHistoryLabel = "KBLoan - mnu HISTORY";
inline constexpr int kLoanHistoryRowsPerPage = 38;

// What the loan record screen shows when the history is asked for; unsaved edits print as shown.
struct LoanHistoryInput {
    std::string caption;                // the screen's caption
    LoanTexts fields;                   // the loan fields' texts, txtLoan 0 to 16
    std::vector<PaymentRecord> payments;  // the loan's payments, newest first
};

// The 15 heading lines of page `page` of `pages`.
std::vector<PrintLine> LoanHistoryHeading(const LoanHistoryInput& input, int page, int pages);

// The history as a report: 38 payments a page, each printed as its payment list row, under the full heading; no
// totals.
Report LoanHistoryReport(const LoanHistoryInput& input);

// Prints the loan history (the Reports menu's Loan History): print dialog offering a PDF file; a loan without
// payments prints nothing.
PrintOutcome PrintLoanHistory(KBMain& kb, const LoanHistoryInput& input);

}  // namespace kb
