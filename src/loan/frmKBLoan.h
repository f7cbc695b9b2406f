#pragma once
#include <QPointer>
#include <QWidget>
#include <array>
#include <string>

#include "core/kbmain.h"

class QMenuBar;
class QPushButton;

namespace kb {

class LoanPanel;
class NotesPanel;
class PaymentEntryPanel;
class PaymentListPanel;

// The loan record screen: one loan added ("A"), viewed and edited ("P") or deleted ("D"), as LoanMode says when it
// opens. While it is open the loan list window it was opened from is disabled and hidden. The loan, its payment
// list, the payment entry and the notes are panels of their own; the screen holds them together, with the menus
// and the delete confirmation.
class frmKBLoan : public QWidget {
    Q_OBJECT
public:
    frmKBLoan(KBMain& kb, QWidget* loanList = nullptr);

    // Enables or disables the 17 loan fields and the five loan buttons together, while a payment or a note is
    // being worked on.
    void LoanFields(bool disp);

    // Refills the payment list with the loan's payments, newest first.
    void FillPmts(const std::string& loanNbr);
    // Takes back the payment with that key and winds the loan back, both stored together; false when the payment
    // was not found or the store refused (nothing changed then).
    bool DeletePmt(const std::string& pmtNbr);
    // Shows the payment of the payment list's row `nbrPmt` in the entry fields.
    void GetPmt(int nbrPmt);
    void mnuPmtReceipt_Click();

    // Refills the notes list with the loan's notes, newest first, and colours the Notes button when there are any.
    void FillNotes(const std::string& loanNbr);
    // Deletes the note with that key; "RECORD NOT FOUND" when there is none.
    void DelNote(const std::string& noteNbr);

signals:
    // The screen closed after a loan field changed: the loan list is out of date.
    void loanListDirty();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* buildMenus();
    QWidget* buildDeletePanel();
    // Room beside the payment list for the largest of the panels that take turns there.
    void reserveSideRoom(QWidget* sideColumn, int spacing);
    void connectPanels();

    void Form_Load();
    void Form_Unload();
    void cmdExit_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdNotes_Click();
    void cmdPayOff_Click();
    void mnuHistory_Click();
    // The loan and its payment list wait while a payment or a note is worked on beside them.
    void holdLoan(bool held);
    void pbxLoan_MouseDown(int index);
    // Where a click on an empty spot of panel `index` puts the focus.
    QWidget* panelClickTarget(int index) const;

    KBMain& kb_;
    QPointer<QWidget> loanList_;
    LoanPanel* loan_ = nullptr;
    PaymentListPanel* payments_ = nullptr;
    PaymentEntryPanel* entry_ = nullptr;
    NotesPanel* notes_ = nullptr;
    // 0 the loan data, 1 the delete confirmation, 2 the notes list, 3 the note detail.
    std::array<QWidget*, 4> pbxLoan_{};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace kb
