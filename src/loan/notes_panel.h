#pragma once
#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "core/kbmain.h"

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kb {

class KBField;
class LoanPanel;

// The loan's notes on the loan record screen: the notes list (`pbxLoan` 2) and the note detail (`pbxLoan` 3), one
// of them shown at a time, and nothing of either while the loan itself is worked on.
class NotesPanel : public QWidget {
    Q_OBJECT
public:
    // `loan` is the loan panel whose loan the notes belong to.
    NotesPanel(KBMain& kb, const LoanPanel& loan, QWidget* parent);

    // Refills the notes list with the loan's notes, newest first.
    void FillNotes(const std::string& loanNbr);
    // Deletes the note with that key; "RECORD NOT FOUND" when there is none.
    void DelNote(const std::string& noteNbr);
    // Shows the notes list, the focus in it: opened by the loan panel's Notes button, and back from a note.
    void showNotesList();

    QWidget* listPanel() const { return listPanel_; }
    QWidget* detailPanel() const { return detailPanel_; }
    // Where a click on an empty spot of either panel puts the focus.
    QWidget* notesList() const;
    QWidget* firstNoteField() const;

signals:
    // The notes list was refilled: whether the loan has notes.
    void notesListed(bool any);
    // Exit of the notes list: the work goes back to the loan.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildListPanel();
    QWidget* buildDetailPanel();

    void cmdAddNote_Click();
    void cmdView_Click();
    void cmdEdit_Click();
    void cmdSaveNote_Click();
    void cmdDelete_Click();
    void cmdExitNote_Click(int index);
    void txtNote_GotFocus(int index);
    // True when the key is dealt with here and goes no further.
    bool txtNote_KeyPress(int index, QKeyEvent& event);
    // The Note field's own keys: F10, Alt+Delete, the special keys, the "M" class and the length limit.
    bool noteTextKeyPress(QKeyEvent& event);
    int noteFieldIndex(const QObject* watched) const;
    // The row of the notes list the user selected, or -1.
    int selectedNote() const;
    // Which note fields take typing, and which buttons the detail panel shows, in that NoteMode.
    void applyNoteFields(const std::string& noteMode);
    void applyNoteButtons(const std::string& noteMode);
    std::string noteText(int index) const;
    void setNoteText(int index, const std::string& text);
    void clearNoteDetail();
    // Shows the notes list, the note detail, or (none) neither.
    void showOnly(QWidget* panel);
    // From the notes list to the detail panel.
    void showNoteDetail();

    KBMain& kb_;
    const LoanPanel& loan_;
    // `pbxLoan` 2 and 3.
    QWidget* listPanel_ = nullptr;
    QWidget* detailPanel_ = nullptr;

    QListWidget* lstNotes_ = nullptr;
    // Row i holds the NoteKey of the note in row i of lstNotes.
    QListWidget* lstNoteLN_ = nullptr;
    // The keys of the notes the notes list shows, row by row.
    std::vector<std::string> shownNoteKeys_;
    QPushButton* cmdAddNote_ = nullptr;
    std::array<QPushButton*, 2> cmdExitNote_{};
    QPushButton* cmdView_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;

    KBField* txtNoteDT_ = nullptr;
    KBField* txtSubject_ = nullptr;
    QPlainTextEdit* txtNoteText_ = nullptr;
    QLineEdit* txtNbr_ = nullptr;
    QLineEdit* txtLN_ = nullptr;
    QPushButton* cmdSaveNote_ = nullptr;
    QPushButton* cmdEdit_ = nullptr;
    std::string NoteMode_;
    // What the Note field held when it got the focus; F10 puts it back.
    QString SavField_;
};

}  // namespace kb
