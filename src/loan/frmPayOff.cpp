#include "loan/frmPayOff.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "core/error_trap.h"
#include "core/input_rules.h"
#include "widgets/kb_field.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kCaption = "PAYOFF LOAN";
constexpr const char* kDateLabel = "PayOff Date";
constexpr const char* kAmountLabel = "PayOff Amount";
constexpr const char* kExitCaption = "&Exit";
constexpr const char* kFormLoadLabel = "PAYOFF - FORM LOAD";
constexpr const char* kPayOffAmtLabel = "PAYOFF - txt PO AMT";
constexpr int kFieldLength = 10;

// The amount field: it reports the focus arriving from another control of the window. Focus given back after a
// message box is not an arrival, or the message would come again.
class AmountField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onGotFocus;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (onGotFocus && FocusStaysInWindow(event->reason())) onGotFocus();
    }
};

}  // namespace

frmPayOff::frmPayOff(KBMain& kb, QWidget* loanScreen, const QString& balance, const QString& apr,
                     const QString& loanDT, const std::optional<std::string>& newestPmtDT)
    : QWidget(nullptr, Qt::Window), kb_(kb), loanScreen_(loanScreen) {
    setObjectName("frmPayOff");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);

    const QFont fixedPitch = FixedPitchFont();

    txtPODate_ = new KBField("txtPODate", "D", kb_, this);
    txtPODate_->setMaxLength(kFieldLength);
    txtPODate_->installEventFilter(this);

    auto* amount = new AmountField(this);
    amount->setObjectName("txtPOAmt");
    amount->setMaxLength(kFieldLength);
    amount->setReadOnly(true);
    amount->onGotFocus = [this] { txtPOAmt_GotFocus(); };
    txtPOAmt_ = amount;

    // The amount comes right-justified in blanks, which lines up only in a fixed-pitch font.
    for (QLineEdit* field : {static_cast<QLineEdit*>(txtPODate_), txtPOAmt_}) {
        field->setFont(fixedPitch);
        field->setFixedWidth(QFontMetrics(fixedPitch).horizontalAdvance(QString(kFieldLength + 2, 'W')));
    }

    cmdExit_ = new QPushButton(kExitCaption, this);
    cmdExit_->setObjectName("cmdExit");
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(kDateLabel, this), 0, 0);
    layout->addWidget(txtPODate_, 0, 1);
    layout->addWidget(new QLabel(kAmountLabel, this), 1, 0);
    layout->addWidget(txtPOAmt_, 1, 1);
    layout->addWidget(cmdExit_, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(txtPODate_, txtPOAmt_);
    setTabOrder(txtPOAmt_, cmdExit_);

    Form_Load(balance, apr, loanDT, newestPmtDT);
}

void frmPayOff::Form_Load(const QString& balance, const QString& apr, const QString& loanDT,
                          const std::optional<std::string>& newestPmtDT) {
    ErrorTrap trap(kb_.dialogs, kFormLoadLabel);
    trap.run([&] {
        basis_ = PayOffBasisOf(balance.toStdString(), apr.toStdString(), loanDT.toStdString(), newestPmtDT);
    });
    if (loanScreen_) loanScreen_->setEnabled(false);
}

void frmPayOff::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmPayOff::Form_Unload() {
    if (loanScreen_) {
        loanScreen_->setEnabled(true);
        loanScreen_->activateWindow();
    }
}

bool frmPayOff::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPODate_ && event->type() == QEvent::KeyPress)
        return txtPODate_KeyPress(static_cast<QKeyEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

// The date field's key beyond what every filtered field does: Enter asks for the amount.
bool frmPayOff::txtPODate_KeyPress(QKeyEvent& event) {
    if (VirtualKeyCode(event) != 13) return false;
    txtPOAmt_->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmPayOff::txtPOAmt_GotFocus() {
    ErrorTrap trap(kb_.dialogs, kPayOffAmtLabel);
    const PayOffFigure figure = FigurePayOff(basis_, txtPODate_->text().toStdString());
    if (!figure.computed) {
        kb_.dialogs.message(figure.message, kAppTitle, Buttons::OK, Icon::None);
        txtPODate_->setFocus(Qt::OtherFocusReason);
        return;
    }
    txtPOAmt_->setText(QString::fromStdString(figure.text));
    if (!figure.error.empty()) trap.record(figure.error);
    txtPODate_->setFocus(Qt::OtherFocusReason);
}

}  // namespace kb
