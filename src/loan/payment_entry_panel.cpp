#include "loan/payment_entry_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "core/format.h"
#include "loan/loan_panel.h"
#include "loan/payment_list_panel.h"
#include "loanbook/book.h"
#include "loanbook/payment_calc.h"
#include "widgets/kb_field.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kAddPmtCaption = "ADD PAYMENT";
constexpr const char* kMkPmtLabel = "KBLoan - cmd Mk PMT";
constexpr const char* kPostLabel = "KBLoan - cmd POST";
constexpr const char* kClearLabel = "KBLoan - cmd Clear";
constexpr const char* kTxtAddPmtLabel = "KBLoan - txt ADD PMT";
constexpr const char* kGetPmtLabel = "KBLoan - GET PMT";
constexpr const char* kDateMask = "mm/dd/yyyy";

struct EntryFieldDef {
    const char* label;
    const char* inputClass;
    int maxLength;        // 0: no limit of its own (the check number; the payments table refuses more than 6)
    const char* toolTip;  // none for the computed fields
};
constexpr EntryFieldDef kEntryFields[kEntryFieldCount] = {
    {"Date", "D", 10, "Enter Date Payment Made (##/##/####)"},
    {"Amount", "V", 10, "Enter Amount Paid"},
    {"Late Fee", "V", 10, "Enter Late Fee Amount"},
    {"# Pmts", "N", 2, "Enter Number of Payments to figure Next Payment Due Date"},
    {"Principal", "S", 10, nullptr},
    {"Interest", "S", 10, nullptr},
    {"Next Pmt", "D", 10, "Enter Next Payment Due Date (##/##/####)"},
    {"Balance", "S", 10, nullptr},
    {"Chk #", "S", 0, "Enter Check Number or \"CASH\" if paid in Cash"},
};
// The fields that are typed in, in tab order; principal, interest and balance are worked out.
constexpr int kEntryTabOrder[] = {kPmtDTEntry, kAmountEntry, kLateFeeEntry, kChkNbrEntry, kNbrPmtsEntry,
                                  kNextPmtDTEntry};
// The panel's two columns, top to bottom: what is typed, in tab order, then what it works out and the due date.
constexpr int kEntryLeftColumn[] = {kPmtDTEntry, kAmountEntry, kLateFeeEntry, kChkNbrEntry, kNbrPmtsEntry};
constexpr int kEntryRightColumn[] = {kInterestEntry, kPrincipalEntry, kBalanceEntry, kNextPmtDTEntry};

bool IsComputedEntry(int index) {
    return index == kPrincipalEntry || index == kInterestEntry || index == kBalanceEntry;
}

}  // namespace

PaymentEntryPanel::PaymentEntryPanel(KBMain& kb, const LoanPanel& loan, const PaymentListPanel& payments,
                                     QWidget* parent)
    : QGroupBox(kAddPmtCaption, parent), kb_(kb), loan_(loan), payments_(payments) {
    setObjectName("fraAddPmt");
    auto* layout = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(2, 16);
    const QFontMetrics metrics(font());
    const int fieldWidth = metrics.horizontalAdvance('0') * 11 + 10;
    const auto place = [&](int index, int row, int column) {
        const EntryFieldDef& def = kEntryFields[index];
        auto* label = new QLabel(QString::fromUtf8(def.label), this);
        label->setObjectName(QString("lblAddPmt_%1").arg(index));
        auto* field = new KBField(QString("txtAddPmt_%1").arg(index), def.inputClass, kb_, this);
        if (def.maxLength > 0) field->setMaxLength(def.maxLength);
        if (def.toolTip) field->setToolTip(QString::fromUtf8(def.toolTip));
        field->setFixedWidth(fieldWidth);
        label->setBuddy(field);
        txtAddPmt_[static_cast<std::size_t>(index)] = field;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1, Qt::AlignLeft);
        if (IsComputedEntry(index)) {
            // Worked out from the others: neither Tab nor the mouse enters them.
            field->setFocusPolicy(Qt::NoFocus);
            field->setReadOnly(true);
            field->setAlignment(Qt::AlignRight);
        } else {
            connect(field, &KBField::gotFocus, this, [this, index] { txtAddPmt_GotFocus(index); });
            connect(field, &KBField::lostFocus, this, [this, index] { txtAddPmt_LostFocus(index); });
        }
    };
    for (int row = 0; row < static_cast<int>(std::size(kEntryLeftColumn)); ++row) place(kEntryLeftColumn[row], row, 0);
    for (int row = 0; row < static_cast<int>(std::size(kEntryRightColumn)); ++row)
        place(kEntryRightColumn[row], row, 3);
    layout->addLayout(grid);

    auto* buttons = new QVBoxLayout;
    cmdPost_ = MakeButton(this, "cmdPost", "&Post", "Post Payment and Exit");
    cmdClear_ = MakeButton(this, "cmdClear", "&Clear", "Clear Payment information & Exit");
    buttons->addWidget(cmdPost_);
    buttons->addWidget(cmdClear_);
    buttons->addStretch(1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    QWidget* previous = nullptr;
    for (int index : kEntryTabOrder) {
        QWidget* field = txtAddPmt_[static_cast<std::size_t>(index)];
        if (previous) setTabOrder(previous, field);
        previous = field;
    }
    setTabOrder(previous, cmdPost_);
    setTabOrder(cmdPost_, cmdClear_);

    connect(cmdPost_, &QPushButton::clicked, this, [this] { cmdPost_Click(); });
    connect(cmdClear_, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
}

QWidget* PaymentEntryPanel::dateField() const { return txtAddPmt_[kPmtDTEntry]; }

std::string PaymentEntryPanel::entryText(int index) const {
    return txtAddPmt_[static_cast<std::size_t>(index)]->text().toStdString();
}

void PaymentEntryPanel::setEntryText(int index, const std::string& text) {
    txtAddPmt_[static_cast<std::size_t>(index)]->setText(QString::fromStdString(text));
}

void PaymentEntryPanel::GetPmt(int nbrPmt) {
    ErrorTrap trap(kb_.dialogs, kGetPmtLabel);
    trap.run([&] {
        const std::vector<PaymentRecord>& shown = payments_.shownPayments();
        if (nbrPmt < 0 || static_cast<std::size_t>(nbrPmt) >= shown.size()) return;
        const auto texts = EntryTextsOf(shown[static_cast<std::size_t>(nbrPmt)]);
        for (int i = 0; i < kEntryFieldCount; ++i) setEntryText(i, texts[static_cast<std::size_t>(i)]);
    });
}

void PaymentEntryPanel::cmdMkPmt_Click() {
    ErrorTrap trap(kb_.dialogs, kMkPmtLabel);
    // The loan field being typed in is finished first: payment entry reads the payment, rate and balance.
    ReleaseFocus(window());
    trap.run([&] {
        show();
        emit opened();
        for (KBField* field : txtAddPmt_) field->clear();
        setEntryText(kPmtDTEntry, FormatDate(kb_.clock.today(), kDateMask));
        setEntryText(kAmountEntry, loan_.text(kPaymentField));
        setEntryText(kNbrPmtsEntry, "1");
        setEntryText(kChkNbrEntry, "CASH");
    });
    PmtCalc();
    ShowNextPmtDT();
    txtAddPmt_[kPmtDTEntry]->setFocus(Qt::OtherFocusReason);
}

void PaymentEntryPanel::PmtCalc() {
    ErrorTrap trap(kb_.dialogs, kPmtCalcLabel);
    const PmtCalcInput input{
        entryText(kPmtDTEntry),
        entryText(kAmountEntry),
        entryText(kLateFeeEntry),
        loan_.text(kBalanceField),
        loan_.text(kAPRField),
        InterestFromDT(loan_.text(kLoanDTField), NewestPmtDT(payments_.shownPayments())),
    };
    PmtCalcResult result;
    if (!trap.run([&] { result = kb::PmtCalc(input); })) return;
    if (!result.error.empty()) trap.record(result.error);
    switch (result.outcome) {
        case PmtCalcOutcome::Computed:
            setEntryText(kPrincipalEntry, result.principalText);
            setEntryText(kInterestEntry, result.interestText);
            setEntryText(kBalanceEntry, result.balanceText);
            break;
        case PmtCalcOutcome::BackPayment:
            kb_.dialogs.message(result.message, kAppTitle, Buttons::OK, Icon::None);
            txtAddPmt_[kPmtDTEntry]->clear();
            break;
        case PmtCalcOutcome::NotComputed:
            break;
    }
}

void PaymentEntryPanel::ShowNextPmtDT() {
    ErrorTrap trap(kb_.dialogs, kCalcNextPmtDTLabel);
    const NextPmtDTResult next = CalcNextPmtDT(PaymentCount(entryText(kNbrPmtsEntry)),
                                               loan_.text(kPmtsPerYrField), loan_.text(kNextPmtDTField));
    setEntryText(kNextPmtDTEntry, next.text());
    if (!next.error.empty()) trap.record(next.error);
}

void PaymentEntryPanel::txtAddPmt_GotFocus(int index) {
    if (index != kAmountEntry && index != kLateFeeEntry) return;
    ErrorTrap trap(kb_.dialogs, kTxtAddPmtLabel);
    trap.run([&] {
        KBField* field = txtAddPmt_[static_cast<std::size_t>(index)];
        // Edited as its plain number, without the decimals it was formatted with.
        field->setText(QString::fromStdString(GeneralNumber(NumVal(field->text().toStdString()))));
    });
}

void PaymentEntryPanel::txtAddPmt_LostFocus(int index) {
    // Hiding the panel moves the focus on too; what was in it is no longer worked on.
    if (!isVisible()) return;
    {
        ErrorTrap trap(kb_.dialogs, kTxtAddPmtLabel);
        if (index == kAmountEntry || index == kLateFeeEntry) {
            trap.run([&] { setEntryText(index, FormatNumber(NumVal(entryText(index)), kPaymentFieldMask)); });
        }
    }
    // The date moves the interest; the amounts move interest and due date; the number of payments the due date.
    if (index == kPmtDTEntry || index == kAmountEntry || index == kLateFeeEntry) PmtCalc();
    if (index == kAmountEntry || index == kLateFeeEntry || index == kNbrPmtsEntry) ShowNextPmtDT();
}

void PaymentEntryPanel::cmdPost_Click() {
    static constexpr const char* kPrintReceipt = "Print Payment Receipt";
    QWidget* focused = window()->focusWidget();
    ReleaseFocus(window());
    const auto keepEntering = [&] {
        if (focused && focused->isEnabled()) focused->setFocus(Qt::OtherFocusReason);
    };
    {
        ErrorTrap trap(kb_.dialogs, kPostLabel);
        Refusal refusal;
        EntryTexts texts;
        for (int i = 0; i < kEntryFieldCount; ++i) texts[static_cast<std::size_t>(i)] = entryText(i);
        // The payment and the loan's balance and due date are stored together or not at all.
        const bool posted =
            trap.run([&] {
                const std::vector<PaymentRecord>& listed = payments_.shownPayments();
                const LoanShown shown = loan_.shownOnFile(listed.empty() ? std::string() : listed.front().LoanNbr);
                refusal = kb_.book->postPayment(loan_.loanOnFile(), texts, kb_.clock.today(), shown);
            });
        if (refusal) {
            kb_.dialogs.message(*refusal, kAppTitle, Buttons::OK, Icon::None);
            return keepEntering();
        }
        if (!posted) {
            // The panel stays open with the payment as typed; Clear abandons it.
            trap.report();
            return keepEntering();
        }
        emit dueDateAndBalanceChanged(txtAddPmt_[kNextPmtDTEntry]->text(), txtAddPmt_[kBalanceEntry]->text());
        trap.run([&] { closeEntry(); });
    }
    emit posted();
    if (kb_.dialogs.message(kPrintReceipt, kAppTitle, Buttons::YesNo, Icon::None) == Answer::Yes) {
        emit receiptWanted();
    }
    emit finished();
}

void PaymentEntryPanel::cmdClear_Click() {
    ErrorTrap trap(kb_.dialogs, kClearLabel);
    ReleaseFocus(window());
    trap.run([&] { closeEntry(); });
    emit finished();
}

void PaymentEntryPanel::closeEntry() {
    emit closed();
    hide();
    for (KBField* field : txtAddPmt_) field->clear();
}

}  // namespace kb
