#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "core/startup.h"
#include "loan/frmKBLoan.h"
#include "store/store.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace test {
void PrintTo(const ScriptedDialogs::Message& m, std::ostream* out);  // with the loan screen's tests
}  // namespace test

namespace {

using Message = test::ScriptedDialogs::Message;
using Texts = std::vector<std::string>;
const QColor kLightCyan(0, 255, 255);

// Loans A1 and A10, whose keys share a beginning, on the loan record screen in mode "P"; today is 12/06/2026.
class NotesTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartUp(kb));
        LoanRecord loan;
        loan.LastNm = "SMITH";
        for (const char* number : {"A1", "A10"}) {
            loan.LoanNbr = number;
            LoanTable(kb.LoanDB).add(loan);
        }
        kb.ShowHelp = [this] { ++helpShown; };
    }
    void TearDown() override { close(); }
    void open(const char* loanNbr = "A1") {
        kb.LoanMode = "P";
        kb.CurLoanNbr = loanNbr;
        window = new frmKBLoan(kb);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        click("cmdNotes");
    }
    void close() {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class W = QWidget>
    W* find(const QString& name) const {
        return window->findChild<W*>(name);
    }
    QWidget* field(int index) const { return find(QString("txtNote_%1").arg(index)); }
    std::string text(int index) const {
        if (auto* line = qobject_cast<QLineEdit*>(field(index))) return line->text().toStdString();
        return static_cast<QPlainTextEdit*>(field(index))->toPlainText().toStdString();
    }
    Texts texts() const { return {text(0), text(1), text(2)}; }
    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    bool shown(const char* name) const { return find(name)->isVisible(); }
    Texts rows(const char* name = "lstNotes") const {
        Texts texts;
        for (int i = 0; i < find<QListWidget>(name)->count(); ++i)
            texts.push_back(find<QListWidget>(name)->item(i)->text().toStdString());
        return texts;
    }
    void select(int row) {
        auto* list = find<QListWidget>("lstNotes");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Empties a field that takes typing and types into it; the focus stays there.
    void type(int index, const char* keys) {
        field(index)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field(index), Qt::Key_Delete, Qt::AltModifier);
        QTest::keyClicks(field(index), keys);
    }
    void addNote(const char* subject) {
        click("cmdAddNote");
        type(1, subject);
        click("cmdSaveNote");
    }
    void insertNote(const char* loanNbr, std::int64_t id, const char* subject) {
        NoteTable(kb.NotesDB).add({NoteKey(loanNbr, id), "01/05/2026", subject, "Stored note", id});
    }
    std::vector<NoteRecord> stored(const char* loanNbr = "A1") const { return NoteTable(kb.NotesDB).readLoan(loanNbr); }
    QColor notesColour() const { return find<QPushButton>("cmdNotes")->palette().color(QPalette::Button); }
    static Message Said(const char* text, Buttons buttons = Buttons::OK) {
        return {text, "Kestrel-Book", buttons, Icon::None};
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
    QPointer<frmKBLoan> window;
    int helpShown = 0;
};

// The book's note numbers are past 9999, where the key's text order would put 10000 before 9999.
TEST_F(NotesTest, NotesAreListedNewestFirstUnderTheirOwnLoanOnly) {
    insertNote("A10", 9998, "Of A10");
    insertNote("A1", 9999, "Of A1");
    open();
    EXPECT_FALSE(find("txtLoan_1")->isEnabled() || find("fraPmtLst")->isEnabled());
    click("cmdAddNote");
    EXPECT_EQ(find<QLineEdit>("txtNbr")->text(), "10000");
    EXPECT_EQ(texts(), (Texts{"12/06/2026", "", ""}));
    QTest::keyClicks(field(0), "12/1");  // typed at the start, it replaces today's date
    type(1, "Called");
    type(2, "Will pay, Friday");
    click("cmdSaveNote");
    addNote("Paid");
    EXPECT_TRUE(shown("pbxLoan_2") && !shown("pbxLoan_3"));
    EXPECT_EQ(rows(), (Texts{"12/06/2026 Paid", "12/01/2026 Called", "01/05/2026 Of A1"}));
    EXPECT_EQ(rows("lstNoteLN"), (Texts{"A1      10001", "A1      10000", "A1      9999"}));
    EXPECT_EQ(stored()[1], (NoteRecord{"A1      10000", "12/01/2026", "Called", "Will pay, Friday", 10000}));

    // Add, then Exit: nothing is stored.
    click("cmdAddNote");
    type(1, "Abandoned");
    click("cmdExitNote_1");
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(stored().size(), 3u);
    click("cmdExitNote_0");
    EXPECT_TRUE(find("txtLoan_1")->isEnabled() && find("fraPmtLst")->isEnabled() && find("txtLoan_1")->hasFocus());
    close();

    open("A10");
    EXPECT_EQ(rows(), Texts{"01/05/2026 Of A10"});
    EXPECT_EQ(notesColour(), kLightCyan);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NotesTest, ViewingTakesNoKeysAndEditingChangesOnlyTheNoteText) {
    insertNote("A1", 1, "Called");
    open();
    click("cmdView");
    EXPECT_EQ(dialogs.messages, std::vector<Message>{Said("NO NOTE HAS BEEN SELECTED")});

    select(0);
    auto* list = find<QListWidget>("lstNotes");
    const QPoint row = list->visualItemRect(list->item(0)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
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
    for (int locked : {0, 1}) type(locked, "99");
    click("cmdSaveNote");
    EXPECT_EQ(stored(), (std::vector<NoteRecord>{{"A1      0001", "01/05/2026", "Called", "Promised Stored note", 1}}));

    click("cmdAddNote");
    EXPECT_TRUE(shown("cmdSaveNote") && !shown("cmdEdit"));
    type(1, "New subject");
    EXPECT_EQ(text(1), "New subject");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(NotesTest, DeletingAsksAndTheLastNoteTakesTheColourWithIt) {
    insertNote("A1", 1, "Called");
    insertNote("A1", 2, "Gone");
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

TEST_F(NotesTest, F10RestoresAndAltDeleteEmptiesAFieldThatTakesTyping) {
    insertNote("A1", 1, "Called");
    open();
    const struct {
        bool editing;
        int field;
        const char* held;  // what the field held when it got the focus
    } cases[] = {{false, 0, "12/06/2026"}, {true, 2, "Stored note"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + (c.editing ? " editing" : " adding"));
        if (c.editing) {
            select(0);
            click("cmdView");
            click("cmdEdit");
        } else {
            click("cmdAddNote");
        }
        field(c.field)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field(c.field), Qt::Key_End);
        QTest::keyClick(field(c.field), Qt::Key_Backspace);
        QTest::keyClicks(field(c.field), "1");
        QTest::keyClick(field(c.field), Qt::Key_F10);
        EXPECT_EQ(text(c.field), c.held);
        QTest::keyClick(field(c.field), Qt::Key_Delete, Qt::AltModifier);
        EXPECT_EQ(text(c.field), "");
        QTest::keyClick(field(c.field), Qt::Key_F1);
        EXPECT_EQ(std::exchange(helpShown, 0), 1);
        click("cmdExitNote_1");
    }
    EXPECT_EQ(stored().front().Note, "Stored note");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NotesTest, RefusedNoteStaysOnThePanelAsTyped) {
    const char* refused = "CAN'T POST NOTE WITHOUT DATE AND SUBJECT";
    const struct {
        const char* date;
        const char* subject;
        Message said;  // the text is a part of the message
    } cases[] = {
        {"", "Called", Said(refused)},
        {"12/05/2026", "   ", Said(refused)},
        {"12/05/2026", "Called", {"locked", "KBLoans - cmd POST NOTE", Buttons::OK, Icon::Critical}},
    };
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said.text);
        if (c.said.icon == Icon::Critical) {
            SQLite::Database(kb.NotesDB, SQLite::OPEN_READWRITE)
                .exec("CREATE TRIGGER refuse BEFORE INSERT ON KBNotes BEGIN SELECT RAISE(ABORT, 'locked'); END");
        }
        dialogs.messages.clear();
        click("cmdAddNote");
        type(0, c.date);
        type(1, c.subject);
        type(2, "Typed");
        const Texts typed = texts();
        click("cmdSaveNote");
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, c.said.title);
        EXPECT_NE(dialogs.messages[0].text.find(c.said.text), std::string::npos) << dialogs.messages[0].text;
        EXPECT_TRUE(shown("pbxLoan_3") && shown("cmdSaveNote"));
        EXPECT_EQ(texts(), typed);
        EXPECT_TRUE(stored().empty());
        click("cmdExitNote_1");
    }
}

}  // namespace
}  // namespace kb
