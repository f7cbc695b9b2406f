#include "loan/loan_panel.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "loanbook/book.h"
#include "widgets/kb_field.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kHeading = "LOAN INFORMATION";
constexpr const char* kTxtLoanLabel = "KBLoan - txt LOAN";
constexpr const char* kSaveLabel = "KBLoan - cmd Save";

// Mode "P" shows the loan number it cannot change in light blue on the button face.
const QColor kLockedText(0, 0, 255);
// The Notes button of a loan that has notes.
const QColor kHasNotesColour(0, 255, 255);

// The loan fields in two columns: the customer (0 to 9) and the loan's terms (10 to 16).
constexpr int kFirstTermsField = kLoanDTField;

}  // namespace

LoanPanel::LoanPanel(KBMain& kb, QWidget* parent) : QFrame(parent), kb_(kb) {
    setObjectName("pbxLoan_0");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(WindowHeading(this, "lblHeading", kHeading));

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(4, 1);
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance('X');
    for (int i = 0; i < kLoanFieldCount; ++i) {
        const LoanFieldDef& def = LoanFieldDefs()[static_cast<std::size_t>(i)];
        auto* label = new QLabel(QString::fromUtf8(def.label), this);
        label->setObjectName(QString("lblLoan_%1").arg(i));
        auto* field = new KBField(QString("txtLoan_%1").arg(i), def.inputClass, kb_, this);
        field->setMaxLength(def.maxLength);
        field->setToolTip(QString::fromUtf8(def.toolTip));
        field->setFixedWidth(charWidth * (def.maxLength + 1) + 10);
        label->setBuddy(field);
        txtLoan_[static_cast<std::size_t>(i)] = field;

        const bool terms = i >= kFirstTermsField;
        const int row = terms ? i - kFirstTermsField : i;
        const int column = terms ? 3 : 0;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1, Qt::AlignLeft);

        connect(field, &KBField::gotFocus, this, [this, i] { txtLoan_GotFocus(i); });
        connect(field, &KBField::lostFocus, this, [this, i] { txtLoan_LostFocus(i); });
        connect(field, &QLineEdit::textChanged, this, [this] { kb_.ListDirty = true; });
    }
    // The balance moves only with the loan amount and the payments: neither Tab nor the mouse enters it.
    txtLoan_[kBalanceField]->setFocusPolicy(Qt::NoFocus);
    layout->addLayout(grid);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    cmdSave_ = MakeButton(this, "cmdSave", "&Save", "Save Loan Info");
    cmdExit_ = MakeButton(this, "cmdExit", "&Exit", "Exit Loan Screen");
    cmdMkPmt_ = MakeButton(this, "cmdMkPmt", "&Add Pmt", "Add Payment to Loan");
    cmdNotes_ = MakeButton(this, "cmdNotes", "&Notes", "Notes on this Loan");
    cmdPayOff_ = MakeButton(this, "cmdPayOff", "Figure &PayOff", "Figure Loan Payoff");
    buttons->addStretch(1);
    for (QPushButton* button : {cmdSave_, cmdExit_, cmdMkPmt_, cmdNotes_, cmdPayOff_}) {
        buttons->addWidget(button);
        buttons->addStretch(1);
    }
    cmdMkPmt_->hide();  // no payment before the loan is on file
    layout->addLayout(buttons);

    connect(cmdSave_, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdExit_, &QPushButton::clicked, this, &LoanPanel::exitClicked);
    connect(cmdMkPmt_, &QPushButton::clicked, this, &LoanPanel::addPaymentClicked);
    connect(cmdNotes_, &QPushButton::clicked, this, &LoanPanel::notesClicked);
    connect(cmdPayOff_, &QPushButton::clicked, this, &LoanPanel::payOffClicked);
}

void LoanPanel::showLoan(const LoanRecord& loan) {
    const LoanTexts texts = TextsOfLoan(loan);
    for (std::size_t i = 0; i < texts.size(); ++i) txtLoan_[i]->setText(QString::fromStdString(texts[i]));
    loanNbr_ = loan.LoanNbr;
    balanceOnFile_ = texts[kBalanceField];
    dueDateOnFile_ = texts[kNextPmtDTField];
}

std::string LoanPanel::text(int field) const { return txtLoan_[static_cast<std::size_t>(field)]->text().toStdString(); }

LoanTexts LoanPanel::texts() const {
    LoanTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = txtLoan_[i]->text().toStdString();
    return texts;
}

void LoanPanel::LoanFields(bool disp) {
    for (KBField* field : txtLoan_) field->setEnabled(disp);
    for (QPushButton* button : {cmdExit_, cmdMkPmt_, cmdSave_, cmdNotes_, cmdPayOff_}) button->setEnabled(disp);
}

void LoanPanel::lockLoanNumber() {
    KBField* field = txtLoan_[kLoanNbrField];
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setToolTip(QString());
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, kLockedText);
    field->setPalette(palette);
}

QWidget* LoanPanel::firstField() const {
    KBField* field = txtLoan_[kLoanNbrField];
    return field->focusPolicy() == Qt::NoFocus ? txtLoan_[kLastNmField] : field;
}

void LoanPanel::focusFirstField() { firstField()->setFocus(Qt::OtherFocusReason); }

void LoanPanel::focusField(int field) { txtLoan_[static_cast<std::size_t>(field)]->setFocus(Qt::OtherFocusReason); }

void LoanPanel::showAddPayment() { cmdMkPmt_->show(); }

void LoanPanel::hideNotesButton() { cmdNotes_->hide(); }

void LoanPanel::colourNotesButton(bool hasNotes) {
    QPalette palette = cmdNotes_->palette();
    palette.setColor(QPalette::Button,
                     hasNotes ? kHasNotesColour : QApplication::palette(cmdNotes_).color(QPalette::Button));
    cmdNotes_->setPalette(palette);
}

void LoanPanel::showDueDateAndBalance(const QString& nextPmtDT, const QString& balance) {
    txtLoan_[kNextPmtDTField]->setText(nextPmtDT);
    txtLoan_[kBalanceField]->setText(balance);
    dueDateOnFile_ = nextPmtDT.toStdString();
    balanceOnFile_ = balance.toStdString();
}

void LoanPanel::txtLoan_GotFocus(int index) {
    ErrorTrap trap(kb_.dialogs, kTxtLoanLabel);
    trap.run([&] {
        KBField* field = txtLoan_[static_cast<std::size_t>(index)];
        const std::string text = field->text().toStdString();
        const std::string entering = EnteringText(index, text);
        if (entering == text) return;
        field->setText(QString::fromStdString(entering));
    });
}

void LoanPanel::txtLoan_LostFocus(int index) {
    ErrorTrap trap(kb_.dialogs, kTxtLoanLabel);
    trap.run([&] {
        KBField* field = txtLoan_[static_cast<std::size_t>(index)];
        const std::string text = field->text().toStdString();
        const std::string leaving = LeavingText(index, text);
        if (leaving != text) field->setText(QString::fromStdString(leaving));
        KBField* amount = txtLoan_[kLoanAmtField];
        KBField* balance = txtLoan_[kBalanceField];
        if (BalanceTakesAmount(index, kb_.LoanMode, paymentsListed_, amount->text().toStdString(),
                               balance->text().toStdString()))
            balance->setText(amount->text());
    });
}

void LoanPanel::cmdSave_Click() {
    // Saving by its access key leaves the focus in the field: leave it first, so that its text is finished.
    for (KBField* field : txtLoan_) {
        if (field->hasFocus()) cmdSave_->setFocus(Qt::OtherFocusReason);
    }
    ErrorTrap trap(kb_.dialogs, kSaveLabel);
    Refusal refusal;
    if (!trap.run([&] { refusal = kb_.book->saveLoan(loanNbr_, texts(), shownOnFile({})); })) return;
    if (refusal) {
        kb_.dialogs.message(*refusal, kAppTitle, Buttons::OK, Icon::None);
        return;  // the loan stays on the screen as typed
    }
    kb_.ListDirty = true;
    emit saved();
}

}  // namespace kb
