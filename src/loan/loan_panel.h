#pragma once
#include <QFrame>
#include <array>
#include <string>

#include "core/kbmain.h"
#include "loanbook/book.h"
#include "loanbook/loan_fields.h"
#include "store/records.h"

class QPushButton;

namespace kb {

class KBField;

// The loan data panel of the loan record screen (`pbxLoan` 0): the 17 loan fields and the Save, Exit, Add Pmt,
// Notes and PayOff buttons. The payment and notes panels read the loan from it; what they change in it comes back
// through the screen.
class LoanPanel : public QFrame {
    Q_OBJECT
public:
    LoanPanel(KBMain& kb, QWidget* parent);

    // Shows the loan on file, which Save then writes back under its own number.
    void showLoan(const LoanRecord& loan);
    // The number of the loan on file that the panel shows; empty while adding.
    const std::string& loanOnFile() const { return loanNbr_; }
    std::string text(int field) const;
    // The loan as last read from the book or stored in it, with the newest payment listed.
    LoanShown shownOnFile(std::string newestPmtKey) const { return {balanceOnFile_, dueDateOnFile_, std::move(newestPmtKey)}; }
    LoanTexts texts() const;

    // Enables or disables the 17 loan fields and the five loan buttons together, while a payment or a note is
    // being worked on.
    void LoanFields(bool disp);
    // Mode "P": the loan number of a loan on file cannot be changed.
    void lockLoanNumber();
    // Loan field 0, or the first field after it when the loan number is locked.
    QWidget* firstField() const;
    void focusFirstField();
    void focusField(int field);
    // Add Pmt is offered only for a loan on file, Notes not while adding.
    void showAddPayment();
    void hideNotesButton();

    // The Notes button is coloured while the loan has notes.
    void colourNotesButton(bool hasNotes);
    // Whether the payment list holds payments: until it does, the balance follows the loan amount.
    void setPaymentsListed(bool listed) { paymentsListed_ = listed; }
    // A payment posted or taken back has moved the loan's due date and balance.
    void showDueDateAndBalance(const QString& nextPmtDT, const QString& balance);

signals:
    // The loan was stored: the screen closes.
    void saved();
    void exitClicked();
    void addPaymentClicked();
    void notesClicked();
    void payOffClicked();

private:
    void txtLoan_GotFocus(int index);
    void txtLoan_LostFocus(int index);
    void cmdSave_Click();

    KBMain& kb_;
    std::array<KBField*, kLoanFieldCount> txtLoan_{};
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdMkPmt_ = nullptr;
    QPushButton* cmdNotes_ = nullptr;
    QPushButton* cmdPayOff_ = nullptr;
    std::string loanNbr_;
    std::string balanceOnFile_;
    std::string dueDateOnFile_;
    bool paymentsListed_ = false;
};

}  // namespace kb
