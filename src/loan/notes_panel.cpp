#include "loan/notes_panel.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "loan/loan_panel.h"
#include "loanbook/book.h"
#include "loanbook/notes_rules.h"
#include "widgets/kb_field.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kNotesListHeading = "LIST OF NOTES";
constexpr const char* kNoteInfoHeading = "NOTE INFO";
constexpr const char* kViewLabel = "KBLoan - cmd VIEW";
constexpr const char* kAddNoteLabel = "KBLoan - cmd ADD NOTE";
constexpr const char* kPostNoteLabel = "KBLoans - cmd POST NOTE";
constexpr const char* kDelNoteLabel = "KBLoan - DEL NOTE";
constexpr const char* kFillNotesLabel = "FILL NOTES";
constexpr const char* kNoNoteSelected = "NO NOTE HAS BEEN SELECTED";
constexpr const char* kDateMask = "mm/dd/yyyy";

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

// The notes list's height, in twips.
constexpr int kNotesListTwips = 3660;

QFrame* NewPanel(QWidget* parent, const char* objectName) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(objectName);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

}  // namespace

NotesPanel::NotesPanel(KBMain& kb, const LoanPanel& loan, QWidget* parent) : QWidget(parent), kb_(kb), loan_(loan) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildListPanel());
    layout->addWidget(buildDetailPanel());
    hide();
}

QWidget* NotesPanel::buildListPanel() {
    QFrame* panel = NewPanel(this, "pbxLoan_2");
    listPanel_ = panel;
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
    const int dateWidth = kNoteFields[kNoteDTField].maxLength;
    lstNotes_->setMinimumWidth(ListWidthForRows(*lstNotes_, dateWidth + 1 + kNoteFields[kSubjectField].maxLength));

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

QWidget* NotesPanel::buildDetailPanel() {
    QFrame* panel = NewPanel(this, "pbxLoan_3");
    detailPanel_ = panel;
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

QWidget* NotesPanel::notesList() const { return lstNotes_; }

QWidget* NotesPanel::firstNoteField() const { return txtNoteDT_; }

void NotesPanel::FillNotes(const std::string& loanNbr) {
    ErrorTrap trap(kb_.dialogs, kFillNotesLabel);
    NoteList notes;
    // A list that could not be read keeps its rows, and the Notes button its colour.
    if (!trap.run([&] { notes = NotesNewestFirst(kb_.book->notes(loanNbr)); })) return;
    lstNotes_->clear();
    lstNoteLN_->clear();
    lstNotes_->addItems(ToStringList(notes.rows));
    lstNoteLN_->addItems(ToStringList(notes.keys));
    shownNoteKeys_ = std::move(notes.keys);
    emit notesListed(!notes.rows.empty());
}

void NotesPanel::DelNote(const std::string& noteNbr) {
    ErrorTrap trap(kb_.dialogs, kDelNoteLabel);
    Refusal refusal;
    trap.run([&] { refusal = kb_.book->deleteNote(noteNbr); });
    if (refusal) kb_.dialogs.message(*refusal, kAppTitle, Buttons::OK, Icon::None);
}

void NotesPanel::cmdExitNote_Click(int index) {
    if (index == 0) {
        showOnly(nullptr);
        emit closed();
        return;
    }
    // The note as it stands is dropped: nothing of it is stored.
    clearNoteDetail();
    applyNoteButtons("A");
    showNotesList();
}

void NotesPanel::cmdAddNote_Click() {
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

void NotesPanel::cmdView_Click() {
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

void NotesPanel::cmdEdit_Click() {
    NoteMode_ = "E";
    applyNoteFields(NoteMode_);
    applyNoteButtons(NoteMode_);
    txtNoteText_->setFocus(Qt::OtherFocusReason);
}

void NotesPanel::cmdSaveNote_Click() {
    // Saving by its access key leaves the focus in a field: leave it first, so that the date is checked.
    if (noteFieldIndex(window()->focusWidget()) >= 0) cmdSaveNote_->setFocus(Qt::OtherFocusReason);
    {
        ErrorTrap trap(kb_.dialogs, kPostNoteLabel);
        const NoteRecord note = NoteOfEntry(loan_.loanOnFile(), txtNbr_->text().toStdString(),
                                            noteText(kNoteDTField), noteText(kSubjectField), noteText(kNoteTextField));
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
    FillNotes(loan_.loanOnFile());
}

void NotesPanel::cmdDelete_Click() {
    static constexpr const char* kConfirm = "ARE YOU SURE YOU WANT TO DELETE THIS NOTE";
    const int row = selectedNote();
    if (row < 0) {
        kb_.dialogs.message(kNoNoteSelected, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    if (kb_.dialogs.message(kConfirm, kAppTitle, Buttons::YesNo, Icon::None) != Answer::Yes) return;
    DelNote(shownNoteKeys_[static_cast<std::size_t>(row)]);
    FillNotes(loan_.loanOnFile());
    lstNotes_->setFocus(Qt::OtherFocusReason);
}

bool NotesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (const int note = noteFieldIndex(watched); note >= 0) {
        if (event->type() == QEvent::KeyPress) return txtNote_KeyPress(note, static_cast<QKeyEvent&>(*event));
        if (event->type() == QEvent::FocusIn) txtNote_GotFocus(note);
    }
    return QWidget::eventFilter(watched, event);
}

void NotesPanel::txtNote_GotFocus(int index) {
    // The date and subject fields keep what they held themselves, for F10.
    if (index == kNoteTextField) SavField_ = txtNoteText_->toPlainText();
}

bool NotesPanel::txtNote_KeyPress(int index, QKeyEvent& event) {
    // Tab moves on from every field; a field that takes no typing must not hold the focus for good.
    if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) return false;
    if (!NoteFieldTakesTyping(NoteMode_, index)) return true;
    if (index != kNoteTextField) return false;  // the field applies its own key rules
    return noteTextKeyPress(event);
}

bool NotesPanel::noteTextKeyPress(QKeyEvent& event) {
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

int NotesPanel::noteFieldIndex(const QObject* watched) const {
    if (!watched) return -1;
    if (watched == txtNoteDT_) return kNoteDTField;
    if (watched == txtSubject_) return kSubjectField;
    if (watched == txtNoteText_) return kNoteTextField;
    return -1;
}

int NotesPanel::selectedNote() const {
    const QList<QListWidgetItem*> selected = lstNotes_->selectedItems();
    return selected.isEmpty() ? -1 : lstNotes_->row(selected.front());
}

void NotesPanel::applyNoteFields(const std::string& noteMode) {
    txtNoteDT_->setReadOnly(!NoteFieldTakesTyping(noteMode, kNoteDTField));
    txtSubject_->setReadOnly(!NoteFieldTakesTyping(noteMode, kSubjectField));
    txtNoteText_->setReadOnly(!NoteFieldTakesTyping(noteMode, kNoteTextField));
}

void NotesPanel::applyNoteButtons(const std::string& noteMode) {
    const NoteLayout layout = NoteLayoutOf(noteMode);
    cmdSaveNote_->setVisible(layout.saveShown);
    cmdEdit_->setVisible(layout.editShown);
    cmdEdit_->setEnabled(layout.editEnabled);
}

std::string NotesPanel::noteText(int index) const {
    if (index == kNoteTextField) return txtNoteText_->toPlainText().toStdString();
    return (index == kNoteDTField ? txtNoteDT_ : txtSubject_)->text().toStdString();
}

void NotesPanel::setNoteText(int index, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (index == kNoteTextField) {
        txtNoteText_->setPlainText(shown);
        return;
    }
    KBField* field = index == kNoteDTField ? txtNoteDT_ : txtSubject_;
    field->setText(shown);
}

void NotesPanel::clearNoteDetail() {
    for (int i = 0; i < kNoteFieldCount; ++i) setNoteText(i, "");
    txtNbr_->clear();
    txtLN_->clear();
}

// One panel is hidden before the other is shown: the window would otherwise grow to hold both for a moment, and keep
// that size. Neither shown, the notes take no room beside the payment list.
void NotesPanel::showOnly(QWidget* panel) {
    for (QWidget* other : {listPanel_, detailPanel_}) {
        if (other != panel) other->hide();
    }
    if (panel) panel->show();
    setVisible(panel != nullptr);
}

void NotesPanel::showNotesList() {
    showOnly(listPanel_);
    lstNotes_->setFocus(Qt::OtherFocusReason);
}

void NotesPanel::showNoteDetail() { showOnly(detailPanel_); }

}  // namespace kb
