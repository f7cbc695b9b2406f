#include "reports/payment_receipt.h"

#include "core/format.h"
#include "loanbook/payment_calc.h"
#include "reports/loan_page_parts.h"

namespace kb {

namespace {

constexpr const char* kReceiptTitle = "PAYMENT RECEIPT";
constexpr const char* kReceiptFileName = "Payment receipt";
constexpr const char* kForwardMask = "###,##0.00";
// The receipt's loan amount has no forced units digit: a zero amount prints as ".00".
constexpr const char* kReceiptLoanAmountMask = "###,###.00";

}  // namespace

// A figure that cannot be read was reported when the payment list was filled: here its column stays blank, as the
// list shows it.
BalanceForward BalanceForwardOf(const ReceiptInput& input) {
    if (input.payments.size() < 2) {
        return {input.fields[kLoanDTField], Using(0, kForwardMask),
                FieldUsing(input.fields[kLoanAmtField], kForwardMask)};
    }
    FigureReader figures;
    const PaymentColumns previous = PaymentColumnsOf(input.payments[1], figures);
    return {previous.date, previous.amount, previous.balance};
}

std::vector<PrintLine> PaymentReceiptLines(const ReceiptInput& input) {
    const LoanTexts& f = input.fields;
    const BalanceForward forward = BalanceForwardOf(input);
    FigureReader figures;
    std::vector<PrintLine> lines = {
        PrintLine().at(34, kReceiptTitle),
        PrintLine(),
        PrintLine().at(8, "Loan #: ").add(f[kLoanNbrField]),
        CustomerLine(f),
        AddressLine(f),
        PrintLine(),
        LoanTermsLine(f, kReceiptLoanAmountMask),
        PrintLine().at(2, "Next Pmt Due: ").add(f[kNextPmtDTField]),
        PrintLine(),
    };
    for (PrintLine& line : PaymentColumnTitles()) lines.push_back(std::move(line));
    const std::vector<PrintLine> rest = {
        PrintLine().at(2, forward.date).at(22, forward.amount).at(64, forward.balance),
        PrintLine().at(2, PaymentRow(input.payments.at(0), figures)),
        PrintLine(),
        PrintLine(),
        PrintLine(),
        PrintLine().at(2, std::string(CharCount(input.DealerNm), '_')),
        PrintLine().at(2, input.DealerNm),
        PrintLine(),
        PrintLine().at(2, input.TYMsg1),
        PrintLine().at(2, input.TYMsg2),
    };
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

PrintOutcome PrintPaymentReceipt(KBMain& kb, const ReceiptInput& input) {
    if (input.payments.empty()) return PrintOutcome::NothingToPrint;
    Report report;
    report.label = kPaymentReceiptLabel;
    report.dialog = ReportPrintDialog(kReceiptFileName, input.fields[kLoanNbrField], kb.clock.today());
    report.paperPrompt = kInsertBlankSheet;
    report.rows = PaymentReceiptLines(input);
    return PrintReport(kb.dialogs, kb.printing, report);
}

}  // namespace kb
