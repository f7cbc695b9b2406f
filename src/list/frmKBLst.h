#pragma once
#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "list/loan_list_report.h"

class QAction;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace kb {

// The main window: every loan of the book, one fixed-pitch row each, in one of three orders.
class frmKBLst : public QMainWindow {
    Q_OBJECT
public:
    explicit frmKBLst(KBMain& kb, QWidget* parent = nullptr);

    // "KESTREL-BOOK " + PrgVer + " for " + DealerNm
    void SetCaption();
    // Rebuilds the list from the loans file in the order the sort label names.
    void FillList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Type-ahead; true when the key was a letter or digit typed into the list.
    bool typeAhead(const QKeyEvent& key);
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    QWidget* buildListPanel();
    QWidget* buildButtons();
    // The three sort menu items share one handler, by index: 0 identification, 1 name, 2 due date.
    void ChangeOrder(int index);
    // The Add command; the button and the File menu differ only in the label of their failures.
    void cmdAdd_Click(const char* label);
    // Process (mode "P") and Delete (mode "D") of the selected loan.
    void OpenSelectedLoan(const char* mode, const char* label);
    // The loan record screen in the mode LoanMode holds, standing in for this window while it is open.
    void OpenLoanScreen();
    // The Reports menu.
    void mnuLatePmt_Click();
    void mnuLoanRpt_Click();
    void mnuPmtRecRpt_Click();

    KBMain& kb_;
    QWidget* pbxList_ = nullptr;
    QLabel* lblLoanSort_ = nullptr;
    QLabel* lblLstLd_ = nullptr;
    QListWidget* lstLoan_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdProcess_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    std::array<QAction*, 3> sortActions_{};
    // The rows shown in lstLoan, in their order, each with the loan it shows: Process and Delete take the selected
    // row's loan from here, the loan list report its own balance and payment for the totals.
    std::vector<ListedLoan> listed_;
    // What has been typed into the list for type-ahead, and since when.
    std::string typed_;
    QElapsedTimer typedSince_;
    // A failure of the list's fill (the file unreadable, or an amount in it) is shown once, not again at every focus
    // gain while it lasts: the message box itself hands the focus back to the list.
    std::string lastFillError_;
};

}  // namespace kb
