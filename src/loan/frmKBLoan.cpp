#include "loan/frmKBLoan.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "book/book.h"
#include "book/notes_rules.h"
#include "book/payment_calc.h"
#include "core/error_trap.h"
#include "help/help_menu.h"
#include "loan/frmPayOff.h"
#include "loan/loan_panel.h"
#include "loan/payment_entry_panel.h"
#include "loan/payment_list_panel.h"
#include "reports/loan_history.h"
#include "reports/payment_receipt.h"
#include "widgets/kb_field.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kFormLoadLabel = "KBLoan - FORM LOAD";
constexpr const char* kOKLabel = "KBLoan - cmd OK";
constexpr const char* kPayOffLabel = "KBLoan - cmd PAYOFF";
constexpr const char* kPbxLoanLabel = "KBLoan - pbx LOAN";

// The notes panels.
constexpr const char* kNotesListHeading = "LIST OF NOTES";
constexpr const char* kNoteInfoHeading = "NOTE INFO";
constexpr const char* kViewLabel = "KBLoan - cmd VIEW";
constexpr const char* kAddNoteLabel = "KBLoan - cmd ADD NOTE";
constexpr const char* kPostNoteLabel = "KBLoans - cmd POST NOTE";
constexpr const char* kDelNoteLabel = "KBLoan - DEL NOTE";
constexpr const char* kFillNotesLabel = "FILL NOTES";
constexpr const char* kNoNoteSelected = "NO NOTE HAS BEEN SELECTED";

struct NoteFieldDef {
    const char* label;
    const char* inputClass;
    int maxLength;
};
constexpr NoteFieldDef kNoteFields[kNoteFieldCount] = {
    {"Date", "D", 10},
    {"Subject", "S", 20},
    {"Note", "M", 512},
};
// The payment list's height, in twips. The entry panel opens beside the list, not under it, so the list keeps its
// height while a payment is entered.
// The notes list's height, in twips.
constexpr int kNotesListTwips = 3660;
constexpr const char* kDateMask = "mm/dd/yyyy";

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
    side->addWidget(buildNotesListPanel());
    side->addWidget(buildNoteDetailPanel());
    side->addStretch(1);
    pbxLoan_[0] = loan_;
    pbxLoan_[1] = deletePanel;
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
    if (const int note = noteFieldIndex(watched); note >= 0) {
        if (event->type() == QEvent::KeyPress) return txtNote_KeyPress(note, static_cast<QKeyEvent&>(*event));
        if (event->type() == QEvent::FocusIn) txtNote_GotFocus(note);
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
    if (index == 2) return lstNotes_;
    if (index == 3) return txtNoteDT_;
    // The loan panel: whatever is being worked on beside it comes first.
    if (!entry_->isHidden()) return entry_->dateField();
    if (!pbxLoan_[2]->isHidden()) return lstNotes_;
    if (!pbxLoan_[3]->isHidden()) return txtNoteDT_;
    return loan_->firstField();
}

// ---- Notes -------------------------------------------------------------------------------------------------

QWidget* frmKBLoan::buildNotesListPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pbxLoan_2");
    panel->setFrameShape(QFrame::StyledPanel);
    pbxLoan_[2] = panel;
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(WindowHeading(panel, "lblNotesHeading", kNotesListHeading));

    cmdAddNote_ = MakeButton(panel, "cmdAddNote", "&Add", "Add New Note");
    cmdExitNote_[0] = MakeButton(panel, "cmdExitNote_0", "&Exit", "Exit Note Screen");
    cmdView_ = MakeButton(panel, "cmdView", "&View", "View selected Note");
    cmdDelete_ = MakeButton(panel, "cmdDelete", "&Delete", "Delete Selected Note");
    const auto buttonRow = [](QPushButton* first, QPushButton* second) {
        auto* row = new QHBoxLayout;
        row->addWidget(first);
        row->addWidget(second);
        row->addStretch(1);
        return row;
    };
    layout->addLayout(buttonRow(cmdAddNote_, cmdExitNote_[0]));

    lstNotes_ = new QListWidget(panel);
    lstNotes_->setObjectName("lstNotes");
    lstNotes_->setFont(FixedPitchFont());
    lstNotes_->setUniformItemSizes(true);
    lstNotes_->setFixedHeight(TwipsToPixels(kNotesListTwips));
    const QFontMetrics metrics(lstNotes_->font());
    const int dateWidth = kNoteFields[kNoteDTField].maxLength;
    const int rowCharacters = dateWidth + 1 + kNoteFields[kSubjectField].maxLength;
    lstNotes_->setMinimumWidth(metrics.horizontalAdvance(QString(rowCharacters + 3, '0')) +
                               2 * lstNotes_->frameWidth());

    // The column captions over the list, in its font, where its columns begin.
    auto* captions = new QLabel(QString(kNoteFields[kNoteDTField].label).leftJustified(dateWidth + 1) +
                                    kNoteFields[kSubjectField].label,
                                panel);
    captions->setObjectName("lblNoteColumns");
    captions->setFont(lstNotes_->font());
    captions->setIndent(lstNotes_->frameWidth() + 4);
    layout->addWidget(captions);
    layout->addWidget(lstNotes_);
    layout->addLayout(buttonRow(cmdView_, cmdDelete_));

    lstNoteLN_ = new QListWidget(panel);
    lstNoteLN_->setObjectName("lstNoteLN");
    lstNoteLN_->hide();

    setTabOrder(cmdAddNote_, cmdExitNote_[0]);
    setTabOrder(cmdExitNote_[0], lstNotes_);
    setTabOrder(lstNotes_, cmdView_);
    setTabOrder(cmdView_, cmdDelete_);

    connect(cmdAddNote_, &QPushButton::clicked, this, [this] { cmdAddNote_Click(); });
    connect(cmdExitNote_[0], &QPushButton::clicked, this, [this] { cmdExitNote_Click(0); });
    connect(cmdView_, &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(lstNotes_, &QListWidget::itemDoubleClicked, this, [this] { cmdView_Click(); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    panel->hide();
    return panel;
}

QWidget* frmKBLoan::buildNoteDetailPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pbxLoan_3");
    panel->setFrameShape(QFrame::StyledPanel);
    pbxLoan_[3] = panel;
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(WindowHeading(panel, "lblNoteHeading", kNoteInfoHeading));

    const QFont fixedPitch = FixedPitchFont();
    const QFontMetrics metrics(fixedPitch);
    const auto label = [&](int index) {
        auto* caption = new QLabel(QString::fromUtf8(kNoteFields[index].label), panel);
        caption->setObjectName(QString("lblNote_%1").arg(index));
        return caption;
    };
    const auto lineField = [&](int index) {
        const NoteFieldDef& def = kNoteFields[index];
        auto* field = new KBField(QString("txtNote_%1").arg(index), def.inputClass, kb_, panel);
        field->setMaxLength(def.maxLength);
        field->setFont(fixedPitch);
        field->setFixedWidth(metrics.horizontalAdvance(QString(def.maxLength + 1, 'W')) + 10);
        field->installEventFilter(this);
        return field;
    };
    txtNoteDT_ = lineField(kNoteDTField);
    txtSubject_ = lineField(kSubjectField);
    txtNoteText_ = new QPlainTextEdit(panel);
    txtNoteText_->setObjectName("txtNote_2");
    txtNoteText_->setFont(fixedPitch);
    txtNoteText_->setTabChangesFocus(true);
    txtNoteText_->setFixedHeight(metrics.lineSpacing() * 10 + 12);
    txtNoteText_->installEventFilter(this);
    // A paste can bring more than the Note field holds: what goes past its limit is cut off.
    connect(txtNoteText_, &QPlainTextEdit::textChanged, this, [this] {
        const int limit = kNoteFields[kNoteTextField].maxLength;
        const QString text = txtNoteText_->toPlainText();
        if (text.size() <= limit) return;
        txtNoteText_->setPlainText(text.left(limit));
        txtNoteText_->moveCursor(QTextCursor::End);
    });
    // Bound to the note's number and key; never shown.
    txtNbr_ = new QLineEdit(panel);
    txtNbr_->setObjectName("txtNbr");
    txtNbr_->hide();
    txtLN_ = new QLineEdit(panel);
    txtLN_->setObjectName("txtLN");
    txtLN_->hide();

    cmdSaveNote_ = MakeButton(panel, "cmdSaveNote", "&Save", "Save Note to file");
    cmdExitNote_[1] = MakeButton(panel, "cmdExitNote_1", "E&xit", "Return to Note List");
    cmdEdit_ = MakeButton(panel, "cmdEdit", "&Edit", nullptr);
    cmdEdit_->hide();

    // Top to bottom in tab order, as narrow as the notes list panel it takes turns with.
    auto* grid = new QGridLayout;
    grid->setColumnStretch(2, 1);
    grid->addWidget(label(kNoteDTField), 0, 0, Qt::AlignRight);
    grid->addWidget(txtNoteDT_, 0, 1, Qt::AlignLeft);
    grid->addWidget(label(kSubjectField), 1, 0, Qt::AlignRight);
    grid->addWidget(txtSubject_, 1, 1, 1, 2, Qt::AlignLeft);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveNote_);
    buttons->addWidget(cmdExitNote_[1]);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(label(kNoteTextField));
    layout->addWidget(txtNoteText_);
    layout->addWidget(cmdEdit_, 0, Qt::AlignRight);

    setTabOrder(txtNoteDT_, txtSubject_);
    setTabOrder(txtSubject_, cmdSaveNote_);
    setTabOrder(cmdSaveNote_, cmdExitNote_[1]);
    setTabOrder(cmdExitNote_[1], txtNoteText_);
    setTabOrder(txtNoteText_, cmdEdit_);

    connect(cmdSaveNote_, &QPushButton::clicked, this, [this] { cmdSaveNote_Click(); });
    connect(cmdExitNote_[1], &QPushButton::clicked, this, [this] { cmdExitNote_Click(1); });
    connect(cmdEdit_, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    panel->hide();
    return panel;
}

void frmKBLoan::FillNotes(const std::string& loanNbr) {
    ErrorTrap trap(kb_.dialogs, kFillNotesLabel);
    NoteList notes;
    // A list that could not be read keeps its rows, and the Notes button its colour.
    if (!trap.run([&] { notes = NotesNewestFirst(kb_.book->notes(loanNbr)); })) return;
    lstNotes_->clear();
    lstNoteLN_->clear();
    lstNotes_->addItems(ToStringList(notes.rows));
    lstNoteLN_->addItems(ToStringList(notes.keys));
    shownNoteKeys_ = std::move(notes.keys);
    loan_->colourNotesButton(!notes.rows.empty());
}

void frmKBLoan::DelNote(const std::string& noteNbr) {
    ErrorTrap trap(kb_.dialogs, kDelNoteLabel);
    Refusal refusal;
    trap.run([&] { refusal = kb_.book->deleteNote(noteNbr); });
    if (refusal) kb_.dialogs.message(*refusal, kAppTitle, Buttons::OK, Icon::None);
}

void frmKBLoan::cmdNotes_Click() {
    // Leaving the loan field being typed in runs its rules before the fields are locked.
    ReleaseFocus(this);
    holdLoan(true);
    pbxLoan_[2]->show();
    lstNotes_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::cmdExitNote_Click(int index) {
    if (index == 0) {
        pbxLoan_[2]->hide();
        holdLoan(false);
        loan_->focusFirstField();
        return;
    }
    // The note as it stands is dropped: nothing of it is stored.
    clearNoteDetail();
    applyNoteButtons("A");
    showNotesList();
}

void frmKBLoan::cmdAddNote_Click() {
    ErrorTrap trap(kb_.dialogs, kAddNoteLabel);
    std::int64_t noteID = 0;
    // Without a number from the store no note can be begun: the list stays.
    if (!trap.run([&] { noteID = kb_.book->beginNote(); })) return;
    NoteMode_ = "A";
    clearNoteDetail();
    txtNbr_->setText(QString::number(noteID));
    setNoteText(kNoteDTField, FormatDate(kb_.clock.today(), kDateMask));
    applyNoteFields(NoteMode_);
    applyNoteButtons(NoteMode_);
    showNoteDetail();
    txtNoteDT_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::cmdView_Click() {
    const int row = selectedNote();
    if (row < 0) {
        kb_.dialogs.message(kNoNoteSelected, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    ErrorTrap trap(kb_.dialogs, kViewLabel);
    NoteMode_ = "V";
    clearNoteDetail();
    applyNoteFields(NoteMode_);
    showNoteDetail();
    std::optional<NoteRecord> note;
    const std::string key = shownNoteKeys_[static_cast<std::size_t>(row)];
    if (trap.run([&] { note = kb_.book->note(key); }) && !note) {
        kb_.dialogs.message(kRecordNotFound, kAppTitle, Buttons::OK, Icon::None);
    }
    if (note) {
        setNoteText(kNoteDTField, note->NoteDT);
        setNoteText(kSubjectField, note->Subject);
        setNoteText(kNoteTextField, note->Note);
        txtNbr_->setText(QString::number(note->NoteID));
        txtLN_->setText(QString::fromStdString(note->LoanNbr));
        applyNoteButtons(NoteMode_);
    } else {
        // Nothing to look at: the fields stay empty and Exit leads back to the list.
        applyNoteButtons("A");
    }
    txtNoteDT_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::cmdEdit_Click() {
    NoteMode_ = "E";
    applyNoteFields(NoteMode_);
    applyNoteButtons(NoteMode_);
    txtNoteText_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::cmdSaveNote_Click() {
    // Saving by its access key leaves the focus in a field: leave it first, so that the date is checked.
    if (QWidget* focused = focusWidget(); noteFieldIndex(focused) >= 0) cmdSaveNote_->setFocus(Qt::OtherFocusReason);
    {
        ErrorTrap trap(kb_.dialogs, kPostNoteLabel);
        const NoteRecord note = NoteOfEntry(loan_->loanOnFile(), txtNbr_->text().toStdString(), noteText(kNoteDTField),
                                            noteText(kSubjectField), noteText(kNoteTextField));
        Refusal refusal;
        const bool saved = trap.run([&] { refusal = kb_.book->saveNote(note, NoteMode_ == "E"); });
        if (refusal) {
            kb_.dialogs.message(*refusal, kAppTitle, Buttons::OK, Icon::None);
            return;
        }
        txtLN_->setText(QString::fromStdString(note.LoanNbr));
        // A note the store refused stays on the panel as typed, to be put right or abandoned with Exit.
        if (!saved) return;
    }
    clearNoteDetail();
    applyNoteButtons("A");
    showNotesList();
    FillNotes(loan_->loanOnFile());
}

void frmKBLoan::cmdDelete_Click() {
    static constexpr const char* kConfirm = "ARE YOU SURE YOU WANT TO DELETE THIS NOTE";
    const int row = selectedNote();
    if (row < 0) {
        kb_.dialogs.message(kNoNoteSelected, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    if (kb_.dialogs.message(kConfirm, kAppTitle, Buttons::YesNo, Icon::None) != Answer::Yes) return;
    DelNote(shownNoteKeys_[static_cast<std::size_t>(row)]);
    FillNotes(loan_->loanOnFile());
    lstNotes_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::txtNote_GotFocus(int index) {
    // The date and subject fields keep what they held themselves, for F10.
    if (index == kNoteTextField) SavField_ = txtNoteText_->toPlainText();
}

bool frmKBLoan::txtNote_KeyPress(int index, QKeyEvent& event) {
    // Tab moves on from every field; a field that takes no typing must not hold the focus for good.
    if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) return false;
    if (!NoteFieldTakesTyping(NoteMode_, index)) return true;
    if (index != kNoteTextField) return false;  // the field applies its own key rules
    return noteTextKeyPress(event);
}

bool frmKBLoan::noteTextKeyPress(QKeyEvent& event) {
    const FieldKey judged = JudgeFieldKey(event, kNoteFields[kNoteTextField].inputClass, kb_);
    switch (judged.action) {
        case FieldKey::Action::Restore: txtNoteText_->setPlainText(SavField_); return true;
        case FieldKey::Action::Clear: txtNoteText_->clear(); return true;
        case FieldKey::Action::Taken:
        case FieldKey::Action::Refused: return true;
        case FieldKey::Action::Edit: return false;
        case FieldKey::Action::Type: break;
    }
    const bool adds = judged.code >= 32 || judged.code == 13;
    const bool full = txtNoteText_->toPlainText().size() >= kNoteFields[kNoteTextField].maxLength;
    return adds && full && !txtNoteText_->textCursor().hasSelection();
}

int frmKBLoan::noteFieldIndex(const QObject* watched) const {
    if (!watched) return -1;
    if (watched == txtNoteDT_) return kNoteDTField;
    if (watched == txtSubject_) return kSubjectField;
    if (watched == txtNoteText_) return kNoteTextField;
    return -1;
}

int frmKBLoan::selectedNote() const {
    const QList<QListWidgetItem*> selected = lstNotes_->selectedItems();
    return selected.isEmpty() ? -1 : lstNotes_->row(selected.front());
}

void frmKBLoan::applyNoteFields(const std::string& noteMode) {
    txtNoteDT_->setReadOnly(!NoteFieldTakesTyping(noteMode, kNoteDTField));
    txtSubject_->setReadOnly(!NoteFieldTakesTyping(noteMode, kSubjectField));
    txtNoteText_->setReadOnly(!NoteFieldTakesTyping(noteMode, kNoteTextField));
}

void frmKBLoan::applyNoteButtons(const std::string& noteMode) {
    const NoteLayout layout = NoteLayoutOf(noteMode);
    cmdSaveNote_->setVisible(layout.saveShown);
    cmdEdit_->setVisible(layout.editShown);
    cmdEdit_->setEnabled(layout.editEnabled);
}

std::string frmKBLoan::noteText(int index) const {
    if (index == kNoteTextField) return txtNoteText_->toPlainText().toStdString();
    return (index == kNoteDTField ? txtNoteDT_ : txtSubject_)->text().toStdString();
}

void frmKBLoan::setNoteText(int index, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (index == kNoteTextField) {
        txtNoteText_->setPlainText(shown);
        return;
    }
    KBField* field = index == kNoteDTField ? txtNoteDT_ : txtSubject_;
    field->setText(shown);
}

void frmKBLoan::clearNoteDetail() {
    for (int i = 0; i < kNoteFieldCount; ++i) setNoteText(i, "");
    txtNbr_->clear();
    txtLN_->clear();
}

// One panel is hidden before the other is shown: the window would otherwise grow to hold both for a moment, and keep
// that size.
void frmKBLoan::showNotesList() {
    pbxLoan_[3]->hide();
    pbxLoan_[2]->show();
    lstNotes_->setFocus(Qt::OtherFocusReason);
}

void frmKBLoan::showNoteDetail() {
    pbxLoan_[2]->hide();
    pbxLoan_[3]->show();
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
