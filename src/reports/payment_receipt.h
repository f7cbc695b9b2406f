#pragma once
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "loanbook/loan_fields.h"
#include "reports/print_flow.h"
#include "store/records.h"

namespace kb {

inline constexpr const char* kPaymentReceiptLabel = "KBLoan - mnu PMT RECIEPT";

// What the loan record screen shows when a receipt is asked for (unsaved edits print as shown), and the business
// name and thank-you lines as they stand at that moment.
struct ReceiptInput {
    LoanTexts fields;                   // the loan fields' texts, txtLoan 0 to 16
    std::vector<PaymentRecord> payments;  // the loan's payments, newest first; the newest two are read
    std::string DealerNm;
    std::string TYMsg1;
    std::string TYMsg2;
};

// The state before the newest payment, printed above it: date, amount and balance texts.
struct BalanceForward {
    std::string date;
    std::string amount;
    std::string balance;
};

// For the loan's first payment: the loan date, a zero payment and the loan amount; otherwise the date, amount and
// balance of the payment before the newest, as the payment list shows them. Needs at least one payment.
BalanceForward BalanceForwardOf(const ReceiptInput& input);

// The 23 lines of the receipt for the newest payment. Needs at least one payment.
std::vector<PrintLine> PaymentReceiptLines(const ReceiptInput& input);

// Prints the receipt of the newest payment (the Reports menu's Payment Receipt, and Post's answer Yes): a loan
// without payments ends it before the print dialog, which offers a PDF file; one page.
PrintOutcome PrintPaymentReceipt(KBMain& kb, const ReceiptInput& input);

}  // namespace kb
