#pragma once
#include <QPointer>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "reports/payments_received.h"

class QPushButton;

namespace kb {

class KBField;

// The report conditions window of the payments received report: the first and last day of the range. OK checks
// them, prints the payments of the range and closes; the loan list window is disabled while it is open.
class frmRptCnd : public QWidget {
    Q_OBJECT
public:
    // Not shown yet: the caller shows it and gives it the focus.
    frmRptCnd(KBMain& kb, QWidget* loanList);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();

    KBMain& kb_;
    QPointer<QWidget> loanList_;
    // The loan list window's caption, taken when the window opens; it heads every page.
    std::string PrgTitle_;
    std::array<KBField*, 2> txtCnd_{};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    // The payments of the range in the order of their sorted rows, which the report prints from.
    std::vector<ReceivedPayment> lstInfo_;
};

}  // namespace kb
