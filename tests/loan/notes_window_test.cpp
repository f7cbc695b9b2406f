#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "loan/frmKBLoan.h"
#include "support/window_test.h"

namespace kb {
namespace {

using Message = test::ScriptedDialogs::Message;
using Texts = std::vector<std::string>;
const QColor kLightCyan(0, 255, 255);

// Loan A1 on the loan record screen in mode "P", its notes panel open; today is 12/06/2026.
class NotesTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        addLoan({"A1", "SMITH", "", "", "", "", "", "", "", "", "", "", "", "", {}, "", ""});
        kb.ShowHelp = [this] { ++helpShown; };
    }
    void open() {
        kb.LoanMode = "P";
        kb.CurLoanNbr = "A1";
        window = new frmKBLoan(kb);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        click("cmdNotes");
    }

    template <class W = QWidget>
    W* find(const QString& name) const { return window->findChild<W*>(name); }
    QWidget* field(int index) const { return find(QString("txtNote_%1").arg(index)); }
    std::string text(int index) const {
        if (auto* line = qobject_cast<QLineEdit*>(field(index))) return line->text().toStdString();
        return static_cast<QPlainTextEdit*>(field(index))->toPlainText().toStdString();
    }
    Texts texts() const { return {text(0), text(1), text(2)}; }
    void click(const char* name) { Click(window, name); }
    bool shown(const char* name) const { return find(name)->isVisible(); }
    Texts rows(const char* name = "lstNotes") const { return Rows(find<QListWidget>(name)); }
    void select(int row, bool doubleClick = false) {
        auto* list = find<QListWidget>("lstNotes");
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void type(int index, const char* keys) { TypeOver(field(index), keys); }
    void insertNote(std::int64_t id, const char* subject) {
        NoteTable(kb.NotesDB).add({NoteKey("A1", id), "01/05/2026", subject, "Stored note", id});
    }
    std::vector<NoteRecord> stored() const { return NoteTable(kb.NotesDB).readLoan("A1"); }
    QColor notesColour() const { return find<QPushButton>("cmdNotes")->palette().color(QPalette::Button); }

    QPointer<frmKBLoan> window;
    int helpShown = 0;
};

// The book's note numbers are past 9999, where the key's text order would put 10000 before 9999.
TEST_F(NotesTest, NotesAreAddedAndListedNewestFirst) {
    insertNote(9999, "Of A1");
    open();
    EXPECT_FALSE(find("txtLoan_1")->isEnabled() || find("fraPmtLst")->isEnabled());
    click("cmdAddNote");
    EXPECT_EQ(find<QLineEdit>("txtNbr")->text(), "10000");
    EXPECT_EQ(texts(), (Texts{"12/06/2026", "", ""}));
    QTest::keyClicks(field(0), "12/1");  // typed at the start, it replaces today's date
    type(1, "Called");
    type(2, "Will pay, Friday");
    click("cmdSaveNote");
    click("cmdAddNote");
    type(1, "Paid");
    click("cmdSaveNote");
    EXPECT_TRUE(shown("pbxLoan_2") && !shown("pbxLoan_3"));
    EXPECT_EQ(rows(), (Texts{"12/06/2026 Paid", "12/01/2026 Called", "01/05/2026 Of A1"}));
    EXPECT_EQ(rows("lstNoteLN"), (Texts{"A1      10001", "A1      10000", "A1      9999"}));
    EXPECT_EQ(stored()[1], (NoteRecord{"A1      10000", "12/01/2026", "Called", "Will pay, Friday", 10000}));

    // Add, then Exit: nothing is stored.
    click("cmdAddNote");
    type(1, "Abandoned");
    click("cmdExitNote_1");
    EXPECT_EQ(stored().size(), 3u);

    // A refused save leaves the panel open as typed.
    click("cmdAddNote");
    type(0, "");
    type(1, "Refused");
    type(2, "Typed");
    click("cmdSaveNote");
    EXPECT_EQ(texts(), (Texts{"", "Refused", "Typed"}));
    click("cmdExitNote_1");
    click("cmdExitNote_0");
    EXPECT_TRUE(find("txtLoan_1")->isEnabled() && find("fraPmtLst")->isEnabled() && find("txtLoan_1")->hasFocus());
    EXPECT_EQ(dialogs.messages, std::vector<Message>{Said("CAN'T POST NOTE WITHOUT DATE AND SUBJECT")});
}

// F10 restores what a field that takes typing held when it got the focus; Alt+Delete empties it.
TEST_F(NotesTest, ViewingTakesNoKeysAndEditingChangesOnlyTheNoteText) {
    insertNote(1, "Called");
    open();
    click("cmdView");
    select(0, true);
    ASSERT_TRUE(shown("pbxLoan_3"));
    const Texts viewed{"01/05/2026", "Called", "Stored note"};
    EXPECT_EQ(texts(), viewed);
    EXPECT_TRUE(!shown("cmdSaveNote") && shown("cmdEdit") && find("cmdEdit")->isEnabled());
    // Every key is consumed before the field or the special keys see it; Tab still moves on.
    for (int index : {0, 1, 2}) {
        field(index)->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_F1, Qt::Key_F10, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return})
            QTest::keyClick(field(index), key);
        QTest::keyClick(field(index), Qt::Key_Delete, Qt::AltModifier);
        QTest::keyClick(field(index), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClicks(field(index), "7/x");
        QTest::keyClick(field(index), Qt::Key_Tab);
        EXPECT_FALSE(field(index)->hasFocus()) << index;
    }
    EXPECT_EQ(texts(), viewed);
    EXPECT_EQ(helpShown, 0);
    EXPECT_TRUE(kb.SetupMode.empty());

    click("cmdEdit");
    EXPECT_TRUE(shown("cmdSaveNote") && !find("cmdEdit")->isEnabled() && field(2)->hasFocus());
    QTest::keyClicks(field(2), "Promised ");  // the Note field keeps its text when typed into at the start
    EXPECT_EQ(text(2), "Promised Stored note");
    QTest::keyClick(field(2), Qt::Key_F10);
    EXPECT_EQ(text(2), "Stored note");
    QTest::keyClick(field(2), Qt::Key_F1);
    EXPECT_EQ(helpShown, 1);
    for (int locked : {0, 1}) type(locked, "99");
    type(2, "Promised");
    click("cmdSaveNote");
    EXPECT_EQ(stored(), (std::vector<NoteRecord>{{"A1      0001", "01/05/2026", "Called", "Promised", 1}}));

    click("cmdAddNote");
    EXPECT_TRUE(shown("cmdSaveNote") && !shown("cmdEdit"));
    EXPECT_EQ(texts(), (Texts{"12/06/2026", "", ""}));
    EXPECT_EQ(dialogs.messages, std::vector<Message>{Said("NO NOTE HAS BEEN SELECTED")});
}

TEST_F(NotesTest, DeletingAsksAndTheLastNoteTakesTheColourWithIt) {
    insertNote(1, "Called");
    insertNote(2, "Gone");
    open();
    NoteTable(kb.NotesDB).remove(NoteKey("A1", 2));  // the list still shows it
    select(0);
    click("cmdView");
    EXPECT_EQ(texts(), (Texts{"", "", ""}));
    click("cmdExitNote_1");
    dialogs.answerMessage(Answer::Yes);
    select(0);
    click("cmdDelete");
    EXPECT_EQ(rows(), Texts{"01/05/2026 Called"});

    click("cmdDelete");
    select(0);
    dialogs.answerMessage(Answer::No);
    click("cmdDelete");
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(notesColour(), kLightCyan);
    dialogs.answerMessage(Answer::Yes);
    click("cmdDelete");
    EXPECT_TRUE(stored().empty() && rows().empty() && rows("lstNoteLN").empty());
    EXPECT_EQ(notesColour(), QApplication::palette().color(QPalette::Button));
    const Message asked = Said("ARE YOU SURE YOU WANT TO DELETE THIS NOTE", Buttons::YesNo);
    EXPECT_EQ(dialogs.messages, (std::vector<Message>{Said("RECORD NOT FOUND"), asked, Said("RECORD NOT FOUND"),
                                                      Said("NO NOTE HAS BEEN SELECTED"), asked, asked}));
}

}  // namespace
}  // namespace kb
