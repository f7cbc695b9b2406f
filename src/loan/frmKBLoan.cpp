#include "loan/frmKBLoan.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/error_trap.h"
#include "help/help_menu.h"
#include "loan/frmPayOff.h"
#include "loan/loan_panel.h"
#include "loan/notes_panel.h"
#include "loan/payment_entry_panel.h"
#include "loan/payment_list_panel.h"
#include "loanbook/book.h"
#include "loanbook/payment_calc.h"
#include "reports/loan_history.h"
#include "reports/payment_receipt.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kFormLoadLabel = "KBLoan - FORM LOAD";
constexpr const char* kOKLabel = "KBLoan - cmd OK";
constexpr const char* kPayOffLabel = "KBLoan - cmd PAYOFF";
constexpr const char* kPbxLoanLabel = "KBLoan - pbx LOAN";

constexpr const char* kLoanInfoLabel = "KBLoan - mnu LOAN INFO";
constexpr HelpEntry kHelpEntries[] = {
    {"mnuAbout", "&About", nullptr, nullptr},
    {"mnuLoanInfo", "Loan &Information", "/S03E03", kLoanInfoLabel},
    {"mnuDelPmt", "&Delete Last Payment Made", "/S06E06", "KBLoan - mnu Del Pmt"},
    {"mnuPayOff", "Loan &PayOff", "/S03E03", kLoanInfoLabel},
    {"mnuEditing", "&Editing Fields", "/S04E04", "KBLoan - mnu EDITING"},
};

}  // namespace

frmKBLoan::frmKBLoan(KBMain& kb, QWidget* loanList) : QWidget(nullptr, Qt::Window), kb_(kb), loanList_(loanList) {
    setObjectName("frmKBLoan");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    loan_ = new LoanPanel(kb_, this);
    layout->addWidget(loan_);

    auto* lower = new QHBoxLayout;
    payments_ = new PaymentListPanel(kb_, *loan_, this);
    lower->addWidget(payments_, 0, Qt::AlignTop);
    // The panels that take turns beside the payment list.
    auto* sideColumn = new QWidget(this);
    auto* side = new QVBoxLayout(sideColumn);
    side->setContentsMargins(0, 0, 0, 0);
    entry_ = new PaymentEntryPanel(kb_, *loan_, *payments_, this);
    side->addWidget(entry_);
    QWidget* deletePanel = buildDeletePanel();
    side->addWidget(deletePanel);
    notes_ = new NotesPanel(kb_, *loan_, this);
    side->addWidget(notes_);
    side->addStretch(1);
    pbxLoan_ = {loan_, deletePanel, notes_->listPanel(), notes_->detailPanel()};
    reserveSideRoom(sideColumn, side->spacing());
    lower->addWidget(sideColumn, 1);
    layout->addLayout(lower, 1);
    for (QWidget* panel : pbxLoan_) panel->installEventFilter(this);
    connectPanels();

    Form_Load();
}

// Room for the largest of them from the start (in mode "D" the entry panel and the delete confirmation are open
// together), so the window keeps its size whichever is open.
void frmKBLoan::reserveSideRoom(QWidget* sideColumn, int spacing) {
    ensurePolished();
    int reservedHeight = entry_->sizeHint().height() + spacing + pbxLoan_[1]->sizeHint().height();
    int reservedWidth = std::max(entry_->sizeHint().width(), pbxLoan_[1]->sizeHint().width());
    for (QWidget* panel : {pbxLoan_[2], pbxLoan_[3]}) {
        reservedHeight = std::max(reservedHeight, panel->sizeHint().height());
        reservedWidth = std::max(reservedWidth, panel->sizeHint().width());
    }
    sideColumn->setMinimumSize(reservedWidth, reservedHeight);
}

// What one panel does that concerns another goes through the screen.
void frmKBLoan::connectPanels() {
    connect(loan_, &LoanPanel::saved, this, &QWidget::close);
    connect(loan_, &LoanPanel::exitClicked, this, [this] { cmdExit_Click(); });
    connect(loan_, &LoanPanel::addPaymentClicked, entry_, &PaymentEntryPanel::cmdMkPmt_Click);
    connect(loan_, &LoanPanel::notesClicked, this, [this] { cmdNotes_Click(); });
    connect(loan_, &LoanPanel::payOffClicked, this, [this] { cmdPayOff_Click(); });

    connect(payments_, &PaymentListPanel::paymentsListed, loan_, &LoanPanel::setPaymentsListed);
    connect(payments_, &PaymentListPanel::dueDateAndBalanceChanged, loan_, &LoanPanel::showDueDateAndBalance);

    connect(entry_, &PaymentEntryPanel::opened, this, [this] { holdLoan(true); });
    connect(entry_, &PaymentEntryPanel::closed, this, [this] { holdLoan(false); });
    connect(entry_, &PaymentEntryPanel::dueDateAndBalanceChanged, loan_, &LoanPanel::showDueDateAndBalance);
    connect(entry_, &PaymentEntryPanel::posted, this, [this] { payments_->FillPmts(loan_->loanOnFile()); });
    connect(entry_, &PaymentEntryPanel::receiptWanted, this, [this] { mnuPmtReceipt_Click(); });
    connect(entry_, &PaymentEntryPanel::finished, loan_, &LoanPanel::focusFirstField);

    connect(notes_, &NotesPanel::notesListed, loan_, &LoanPanel::colourNotesButton);
    connect(notes_, &NotesPanel::closed, this, [this] {
        holdLoan(false);
        loan_->focusFirstField();
    });
}

QMenuBar* frmKBLoan::buildMenus() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("&File");
    connect(AddAction(file, "mnuExit", "E&xit"), &QAction::triggered, this, [this] { cmdExit_Click(); });

    QMenu* reports = bar->addMenu("&Reports");
    connect(AddAction(reports, "mnuPmtReceipt", "&Payment Receipt"), &QAction::triggered, this,
            [this] { mnuPmtReceipt_Click(); });
    connect(AddAction(reports, "mnuHistory", "Loan &History"), &QAction::triggered, this,
            [this] { mnuHistory_Click(); });

    AddHelpMenu(bar, kHelpEntries, kb_);
    return bar;
}

QWidget* frmKBLoan::buildDeletePanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pbxLoan_1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(panel);
    QFont bold = font();
    bold.setBold(true);
    for (const char* text : {"Are you sure you want to delete", "this Loan"}) {
        auto* label = new QLabel(text, panel);
        label->setAlignment(Qt::AlignHCenter);
        label->setFont(bold);
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    cmdOK_ = MakeButton(panel, "cmdOK", "&OK", nullptr);
    cmdCancel_ = MakeButton(panel, "cmdCancel", "&Cancel", nullptr);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    layout->addLayout(buttons);
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    panel->hide();
    return panel;
}

void frmKBLoan::Form_Load() {
    ErrorTrap trap(kb_.dialogs, kFormLoadLabel);
    if (loanList_) {
        setWindowTitle(loanList_->windowTitle());
        loanList_->setEnabled(false);
    }

    entry_->hide();

    const std::string mode = kb_.LoanMode;
    if (mode != "P" && mode != "D") {
        payments_->setEnabled(false);
        loan_->hideNotesButton();
        loan_->focusField(kLoanNbrField);
    } else {
        std::optional<LoanRecord> loan;
        const bool read = trap.run([&] { loan = kb_.book->loan(kb_.CurLoanNbr); });
        if (loan) {
            loan_->showLoan(*loan);
            FillPmts(kb_.CurLoanNbr);
            loan_->showAddPayment();
            FillNotes(kb_.CurLoanNbr);
        } else {
            if (read) kb_.dialogs.message(kRecordNotFound, kAppTitle, Buttons::OK, Icon::None);
            // Without its loan the screen has nothing to show: it closes as soon as it is running.
            QMetaObject::invokeMethod(this, [this] { cmdExit_Click(); }, Qt::QueuedConnection);
        }
        if (mode == "D") {
            pbxLoan_[1]->show();
            loan_->setEnabled(false);
            // The payments are shown, the newest in the entry panel, but nothing is done with them.
            payments_->setEnabled(false);
            entry_->setEnabled(false);
            if (payments_->hasPayments()) {
                entry_->show();
                GetPmt(0);
            }
            cmdOK_->setFocus(Qt::OtherFocusReason);
        } else {
            loan_->lockLoanNumber();
            loan_->focusField(kLastNmField);
        }
    }
    if (loanList_) loanList_->hide();
}

void frmKBLoan::LoanFields(bool disp) { loan_->LoanFields(disp); }

void frmKBLoan::holdLoan(bool held) {
    LoanFields(!held);
    payments_->setEnabled(!held);
}

void frmKBLoan::FillPmts(const std::string& loanNbr) { payments_->FillPmts(loanNbr); }

bool frmKBLoan::DeletePmt(const std::string& pmtNbr) { return payments_->DeletePmt(pmtNbr); }

void frmKBLoan::GetPmt(int nbrPmt) { entry_->GetPmt(nbrPmt); }

void frmKBLoan::FillNotes(const std::string& loanNbr) { notes_->FillNotes(loanNbr); }

void frmKBLoan::DelNote(const std::string& noteNbr) { notes_->DelNote(noteNbr); }

void frmKBLoan::cmdExit_Click() {
    kb_.LoanMode.clear();
    close();
}

void frmKBLoan::cmdOK_Click() {
    loan_->setEnabled(true);
    {
        ErrorTrap trap(kb_.dialogs, kOKLabel);
        trap.run([&] {
            kb_.book->deleteLoan(loan_->loanOnFile());
            kb_.ListDirty = true;
        });
    }
    cmdExit_Click();
}

void frmKBLoan::cmdCancel_Click() {
    loan_->setEnabled(true);
    cmdExit_Click();
}

void frmKBLoan::cmdNotes_Click() {
    // Leaving the loan field being typed in runs its rules before the fields are locked.
    ReleaseFocus(this);
    holdLoan(true);
    notes_->showNotesList();
}

// The reports print the loan as the screen shows it, edits not yet saved included.
void frmKBLoan::mnuPmtReceipt_Click() {
    PrintPaymentReceipt(kb_, {loan_->texts(), payments_->shownPayments(), kb_.DealerNm, kb_.TYMsg1, kb_.TYMsg2});
}

void frmKBLoan::mnuHistory_Click() {
    PrintLoanHistory(kb_, {windowTitle().toStdString(), loan_->texts(), payments_->shownPayments()});
}

void frmKBLoan::cmdPayOff_Click() {
    ErrorTrap trap(kb_.dialogs, kPayOffLabel);
    // The loan field being typed in is finished first: the payoff reads the balance, rate and loan date.
    ReleaseFocus(this);
    trap.run([&] {
        const auto shown = [this](int field) { return QString::fromStdString(loan_->text(field)); };
        auto* payOff = new frmPayOff(kb_, this, shown(kBalanceField), shown(kAPRField), shown(kLoanDTField),
                                     NewestPmtDT(payments_->shownPayments()));
        payOff->show();
        payOff->activateWindow();
    });
}

bool frmKBLoan::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto panel = std::find(pbxLoan_.begin(), pbxLoan_.end(), watched);
        if (panel != pbxLoan_.end()) pbxLoan_MouseDown(static_cast<int>(panel - pbxLoan_.begin()));
    }
    return QWidget::eventFilter(watched, event);
}

// A click on an empty spot of a panel puts the focus where work on that panel goes on.
void frmKBLoan::pbxLoan_MouseDown(int index) {
    ErrorTrap trap(kb_.dialogs, kPbxLoanLabel);
    trap.run([&] { panelClickTarget(index)->setFocus(Qt::MouseFocusReason); });
}

QWidget* frmKBLoan::panelClickTarget(int index) const {
    if (index == 1) return cmdOK_;
    if (index == 2) return notes_->notesList();
    if (index == 3) return notes_->firstNoteField();
    // The loan panel: whatever is being worked on beside it comes first.
    if (!entry_->isHidden()) return entry_->dateField();
    if (!pbxLoan_[2]->isHidden()) return notes_->notesList();
    if (!pbxLoan_[3]->isHidden()) return notes_->firstNoteField();
    return loan_->firstField();
}

void frmKBLoan::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmKBLoan::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (loanList_) {
        loanList_->setEnabled(true);
        loanList_->show();
        loanList_->activateWindow();
    }
    if (kb_.ListDirty) {
        emit loanListDirty();
        kb_.ListDirty = false;
    }
    kb_.LoanMode.clear();
}

}  // namespace kb
