#pragma once
#include <QGroupBox>
#include <array>
#include <string>

#include "core/kbmain.h"
#include "loanbook/payment_entry.h"

class QPushButton;

namespace kb {

class KBField;
class LoanPanel;
class PaymentListPanel;

// The payment entry panel of the loan record screen (`fraAddPmt`, "ADD PAYMENT"): a new payment of the loan is
// proposed, split into late fee, interest and principal, and posted or cleared. It reads the loan from the loan
// panel and the newest payment from the payment list; what posting changes goes back through the screen.
class PaymentEntryPanel : public QGroupBox {
    Q_OBJECT
public:
    PaymentEntryPanel(KBMain& kb, const LoanPanel& loan, const PaymentListPanel& payments, QWidget* parent);

    // Opens the panel on a new payment: today's date, the loan's regular payment, cash, one payment.
    void cmdMkPmt_Click();
    // Shows the payment of the payment list's row `nbrPmt` in the entry fields.
    void GetPmt(int nbrPmt);
    // The field a click beside the panel goes back to.
    QWidget* dateField() const;

signals:
    // The panel opened or closed: the loan and its payment list wait while a payment is entered.
    void opened();
    void closed();
    // The payment posted has moved the loan's due date and balance on.
    void dueDateAndBalanceChanged(const QString& nextPmtDT, const QString& balance);
    // The payment is stored: the payment list is out of date.
    void posted();
    // Posting was answered Yes to "Print Payment Receipt".
    void receiptWanted();
    // Payment entry is over, posted or cleared: the work goes back to the loan.
    void finished();

private:
    void cmdPost_Click();
    void cmdClear_Click();
    void txtAddPmt_GotFocus(int index);
    void txtAddPmt_LostFocus(int index);
    // Splits the payment of the entry fields into principal, interest and the balance after.
    void PmtCalc();
    // Entry field 6: the loan's next due date moved on by the number of payments of entry field 3.
    void ShowNextPmtDT();
    // Ends payment entry: the loan unlocked, the entry fields emptied, the panel hidden.
    void closeEntry();
    std::string entryText(int index) const;
    void setEntryText(int index, const std::string& text);

    KBMain& kb_;
    const LoanPanel& loan_;
    const PaymentListPanel& payments_;
    // The payment entry fields, `txtAddPmt` 0 to 8.
    std::array<KBField*, kEntryFieldCount> txtAddPmt_{};
    QPushButton* cmdPost_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
};

}  // namespace kb
