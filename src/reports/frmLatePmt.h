#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "store/records.h"

class QListWidget;
class QPushButton;

namespace kb {

// The late payments window: every loan behind with its payments, one row each, filled once when it opens. From it
// the lender prints the whole list or the past-due letter of the selected loan.
class frmLatePmt : public QDialog {
    Q_OBJECT
public:
    // `listCaption` is the loan list window's caption, printed at the head of the report.
    frmLatePmt(KBMain& kb, std::string listCaption, QWidget* parent = nullptr);

private:
    void Form_Load();
    void cmdPrintList_Click();
    void cmdPrintStmt_Click();

    KBMain& kb_;
    std::string listCaption_;
    QListWidget* lstLatePmts_ = nullptr;
    // The loan of each row of lstLatePmts, in the rows' order: the statement is for the selected row's loan.
    std::vector<LoanRecord> lateLoans_;
    QPushButton* cmdPrintList_ = nullptr;
    QPushButton* cmdPrintStmt_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};

}  // namespace kb
