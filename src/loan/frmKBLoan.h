#pragma once
#include <QPointer>
#include <QWidget>
#include <array>
#include <string>

#include "core/kbmain.h"
#include "loan/loan_fields.h"

class QGroupBox;
class QListWidget;
class QMenuBar;
class QPushButton;

namespace kb {

class KBField;

// The loan record screen: one loan added ("A"), viewed and edited ("P") or deleted ("D"), as LoanMode says when it
// opens. While it is open the loan list window it was opened from is disabled and hidden.
class frmKBLoan : public QWidget {
    Q_OBJECT
public:
    frmKBLoan(KBMain& kb, QWidget* loanList = nullptr);

    // Enables or disables the 17 loan fields and the five loan buttons together, while a payment or a note is
    // being worked on.
    void LoanFields(bool disp);

signals:
    // The screen closed after a loan field changed: the loan list is out of date.
    void loanListDirty();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMenuBar* buildMenus();
    QWidget* buildLoanPanel();
    QWidget* buildDeletePanel();
    QGroupBox* buildPaymentList();

    void Form_Load();
    void Form_Unload();
    void txtLoan_GotFocus(int index);
    void txtLoan_LostFocus(int index);
    void cmdSave_Click();
    void cmdExit_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void ShowHelpSection(const char* label, const std::string& target);

    void showLoan(const LoanRecord& loan);
    LoanTexts fieldTexts() const;
    void lockLoanNumber();
    bool hasPayments() const;

    KBMain& kb_;
    QPointer<QWidget> loanList_;
    std::array<KBField*, kLoanFieldCount> txtLoan_{};
    // 0 the loan data, 1 the delete confirmation, 2 the notes list, 3 the note detail.
    std::array<QWidget*, 4> pbxLoan_{};
    QGroupBox* fraPmtLst_ = nullptr;
    QGroupBox* fraAddPmt_ = nullptr;
    QListWidget* lstPmts_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdMkPmt_ = nullptr;
    QPushButton* cmdNotes_ = nullptr;
    QPushButton* cmdPayOff_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    // The number of the loan on file that the screen shows; empty while adding.
    std::string loanNbr_;
    bool unloaded_ = false;
};

}  // namespace kb
