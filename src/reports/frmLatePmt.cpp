#include "reports/frmLatePmt.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "reports/late_payments.h"
#include "reports/late_statement.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kCaption = "KESTREL-BOOK";
constexpr const char* kHeading = "LATE REPORT";
constexpr const char* kNoItemSelected = "NO ITEM SELECTED!";
constexpr int kRowCharacters = 78;
constexpr int kVisibleRows = 20;

constexpr ColumnHeading kColumnLabels[] = {
    {"Due Date", 0, 10, Qt::AlignLeft}, {"Loan Name", 11, 32, Qt::AlignLeft}, {"Payment", 46, 10, Qt::AlignRight},
    {"Phone", 57, 12, Qt::AlignLeft},   {"Loan #", 70, 8, Qt::AlignLeft},
};

}  // namespace

frmLatePmt::frmLatePmt(KBMain& kb, std::string listCaption, QWidget* parent)
    : QDialog(parent), kb_(kb), listCaption_(std::move(listCaption)) {
    setObjectName("frmLatePmt");
    setWindowTitle(kCaption);
    setModal(true);

    QLabel* heading = WindowHeading(this, "lblHeading", kHeading);

    lstLatePmts_ = new QListWidget(this);
    lstLatePmts_->setObjectName("lstLatePmts");
    lstLatePmts_->setFont(FixedPitchFont());
    lstLatePmts_->setUniformItemSizes(true);
    const QFontMetrics metrics(FixedPitchFont());
    lstLatePmts_->setMinimumSize(ListWidthForRows(*lstLatePmts_, kRowCharacters),
                                 kVisibleRows * (metrics.height() + 2));
    SelectEndRowFromKeyboard(*lstLatePmts_);

    QWidget* labels = ColumnHeadings(this, *lstLatePmts_, kColumnLabels, 1, "lblColumn_");

    const std::tuple<QPushButton**, const char*, const char*> buttons[] = {
        {&cmdPrintList_, "cmdPrintList", "Print &List"},
        {&cmdPrintStmt_, "cmdPrintStmt", "Print Late &Statement"},
        {&cmdExit_, "cmdExit", "&Exit"},
    };
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (const auto& [button, name, caption] : buttons) {
        *button = new QPushButton(caption, this);
        (*button)->setObjectName(name);
        (*button)->setAutoDefault(false);
        buttonRow->addWidget(*button);
        buttonRow->addStretch(1);
    }
    connect(cmdPrintList_, &QPushButton::clicked, this, &frmLatePmt::cmdPrintList_Click);
    connect(cmdPrintStmt_, &QPushButton::clicked, this, &frmLatePmt::cmdPrintStmt_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(labels);
    layout->addWidget(lstLatePmts_, 1);
    layout->addLayout(buttonRow);
    setTabOrder(lstLatePmts_, cmdPrintList_);
    setTabOrder(cmdPrintList_, cmdPrintStmt_);
    setTabOrder(cmdPrintStmt_, cmdExit_);

    Form_Load();
}

void frmLatePmt::Form_Load() {
    auto late = FillLatePmts(*kb_.book, kb_.clock.today(), kb_.dialogs);
    if (!late) return;
    QStringList items;
    items.reserve(static_cast<qsizetype>(late->rows.size()));
    for (const std::string& row : late->rows) items.append(QString::fromStdString(row));
    lstLatePmts_->addItems(items);
    lstLatePmts_->setCurrentRow(-1);
    lateLoans_ = std::move(late->loans);
    if (lateLoans_.empty()) kb_.dialogs.message(kNoLatePayments, kAppTitle, Buttons::OK, Icon::None);
}

void frmLatePmt::cmdPrintList_Click() {
    PrintLateList(kb_, listCaption_);
    lstLatePmts_->setFocus();
}

void frmLatePmt::cmdPrintStmt_Click() {
    const QList<QListWidgetItem*> selected = lstLatePmts_->selectedItems();
    if (selected.isEmpty()) {
        kb_.dialogs.message(kNoItemSelected, kAppTitle, Buttons::OK, Icon::None);
    } else {
        PrintLateStatement(kb_, lateLoans_.at(static_cast<std::size_t>(lstLatePmts_->row(selected.front()))).LoanNbr);
    }
    lstLatePmts_->setFocus();
}

}  // namespace kb
