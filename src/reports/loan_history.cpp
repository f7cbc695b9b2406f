#include "reports/loan_history.h"

#include "core/format.h"
#include "loanbook/payment_calc.h"
#include "reports/loan_page_parts.h"

namespace kb {

namespace {

constexpr const char* kHistoryTitle = "LOAN HISTORY";
constexpr const char* kHistoryAmountMask = "###,##0.00";
constexpr const char* kPageNumberMask = "#0";
constexpr const char* kHistoryFileName = "Loan history";

}  // namespace

std::vector<PrintLine> LoanHistoryHeading(const LoanHistoryInput& input, int page, int pages) {
    const LoanTexts& f = input.fields;
    std::vector<PrintLine> lines = {
        PrintLine().at(2, input.caption),
        PrintLine(),
        PrintLine()
            .at(35, kHistoryTitle)
            .at(67, "Page ")
            .add(Using(page, kPageNumberMask))
            .add(" of ")
            .add(Using(pages, kPageNumberMask)),
        PrintLine(),
        PrintLine().at(5, "Loan #: ").add(f[kLoanNbrField]),
        CustomerLine(f),
        AddressLine(f),
        PrintLine(),
        LoanTermsLine(f, kHistoryAmountMask),
        PrintLine()
            .at(2, "Next Pmt Due: ")
            .add(f[kNextPmtDTField])
            .at(29, "Pmt Amount: ")
            .add(FieldUsing(f[kPaymentField], kHistoryAmountMask)),
        PrintLine(),
    };
    for (PrintLine& line : PaymentColumnTitles()) lines.push_back(std::move(line));
    return lines;
}

Report LoanHistoryReport(const LoanHistoryInput& input) {
    Report report;
    report.label = kLoanHistoryLabel;
    report.paperPrompt = kInsertBlankSheet;
    report.laterPaperPrompt = kInsertAnotherSheet;
    report.heading = [input](int page, int pages) { return LoanHistoryHeading(input, page, pages); };
    // A figure that cannot be read was reported when the payment list was filled: its column stays blank here too.
    FigureReader figures;
    for (const PaymentRecord& payment : input.payments)
        report.rows.push_back(PrintLine().at(2, PaymentRow(payment, figures)));
    report.rowsPerPage = kLoanHistoryRowsPerPage;
    return report;
}

PrintOutcome PrintLoanHistory(KBMain& kb, const LoanHistoryInput& input) {
    Report report = LoanHistoryReport(input);
    report.dialog = ReportPrintDialog(kHistoryFileName, input.fields[kLoanNbrField], kb.clock.today());
    return PrintReport(kb.dialogs, kb.printing, report);
}

}  // namespace kb
