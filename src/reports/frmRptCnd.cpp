#include "reports/frmRptCnd.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/error_trap.h"
#include "reports/payments_received.h"
#include "widgets/kb_field.h"

namespace kb {

namespace {

constexpr const char* kCaption = "REPORT CONDITIONS";
constexpr const char* kCmdOKLabel = "RptCnd - cmd OK";
constexpr int kDateLength = 10;

struct DateField {
    const char* label;
    const char* objectName;
};
constexpr DateField kDateFields[] = {{"Beginning Date", "txtCnd_0"}, {"Ending Date", "txtCnd_1"}};

}  // namespace

frmRptCnd::frmRptCnd(KBMain& kb, QWidget* loanList) : QWidget(nullptr, Qt::Window), kb_(kb), loanList_(loanList) {
    setObjectName("frmRptCnd");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);

    auto* layout = new QGridLayout(this);
    for (std::size_t i = 0; i < txtCnd_.size(); ++i) {
        txtCnd_[i] = new KBField(kDateFields[i].objectName, "D", kb_, this);
        txtCnd_[i]->setMaxLength(kDateLength);
        txtCnd_[i]->setFixedWidth(txtCnd_[i]->fontMetrics().horizontalAdvance(QString(kDateLength + 3, '0')));
        const int row = static_cast<int>(i);
        layout->addWidget(new QLabel(kDateFields[i].label, this), row, 0);
        layout->addWidget(txtCnd_[i], row, 1);
    }
    cmdOK_ = new QPushButton("&OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdExit_ = new QPushButton("&Exit", this);
    cmdExit_->setObjectName("cmdExit");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdExit_);
    layout->addLayout(buttons, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(txtCnd_[0], txtCnd_[1]);
    setTabOrder(txtCnd_[1], cmdOK_);
    setTabOrder(cmdOK_, cmdExit_);
    connect(cmdOK_, &QPushButton::clicked, this, &frmRptCnd::cmdOK_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);

    Form_Load();
}

void frmRptCnd::Form_Load() {
    if (!loanList_) return;
    PrgTitle_ = loanList_->windowTitle().toStdString();
    loanList_->setEnabled(false);
}

void frmRptCnd::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmRptCnd::Form_Unload() {
    if (!loanList_) return;
    loanList_->setEnabled(true);
    loanList_->activateWindow();
}

void frmRptCnd::cmdOK_Click() {
    const Conditions conditions = CheckConditions(txtCnd_[0]->text().toStdString(), txtCnd_[1]->text().toStdString());
    if (conditions.refusal) {
        kb_.dialogs.message(conditions.refusal, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    ErrorTrap trap(kb_.dialogs, kCmdOKLabel);
    setCursor(Qt::WaitCursor);
    trap.run([&] {
        lstInfo_ = ReadPaymentsReceived(kb_, *conditions.range);
        PrintPmts(kb_, PrgTitle_, *conditions.range, lstInfo_);
    });
    unsetCursor();
    trap.report();
    close();
}

}  // namespace kb
