#include "widgets/kb_field.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "support/desktop.h"
#include "support/doubles.h"

namespace kb {
namespace {

class FieldTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        amount = new KBField("txtAmount", "V", kb, &window);
        date = new KBField("txtDate", "D", kb, &window);
        note = new KBField("txtNote", "M", kb, &window);
        layout->addWidget(amount);
        layout->addWidget(date);
        layout->addWidget(note);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    KBField* amount = nullptr;
    KBField* date = nullptr;
    KBField* note = nullptr;
};

TEST_F(FieldTest, F10RestoresAndAltDeleteEmpties) {
    amount->setText("250.00");
    note->setFocus();
    amount->setFocus();
    amount->setCursorPosition(6);
    QTest::keyClicks(amount, "7");
    QTest::keyClick(amount, Qt::Key_F10);
    EXPECT_EQ(amount->text(), "250.00");
    QTest::keyClick(amount, Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(amount->text(), "");
}

TEST_F(FieldTest, DateIsCheckedWhenTheFocusMovesWithinTheWindow) {
    date->setFocus();
    date->setText("2/30/26");
    amount->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(date->text(), "");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "ERROR - INVALID DATE");

    date->setFocus();
    date->setText("1/1/1");
    QFocusEvent toAnotherWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(date, &toAnotherWindow);
    EXPECT_EQ(date->text(), "1/1/1");
}

// Typing is filtered by the field's class and, in a field the program filled, replaces from the start.
TEST_F(FieldTest, KeysAsTheDesktopSendsThem) {
    using namespace test;
    const struct {
        const char* inputClass;
        const char* start;
        std::vector<DesktopKey> keys;
        const char* typed;
        const char* text;
        int windowsShown;
    } cases[] = {
        {"V", "99", {}, "12a,3.45", "123.45", 0},
        {"M", "first", {}, "A, ", "A, first", 0},
        {"S", "JONES", {kHome, kRight, kDelete}, "", "JNES", 0},
        {"S", "JONES", {kEnd, kBackspace}, "", "JONE", 0},
        {"S", "JONES", {kHome, kDelete}, "", "ONES", 0},
        {"S", "12 MAIN ST", {kHome, kSetupOptions, kSetupName, kF1, kShiftF1}, "", "12 MAIN ST", 4},
        {"S", "12 MAIN ST", {kEnd, kSetupOptions}, "", "12 MAIN ST", 1},
        {"S", "12/06/2026", {}, "11/30/2026", "11/30/2026", 0},
    };
    int windowsShown = 0;
    kb.ShowHelp = kb.ShowSetup = [&] { ++windowsShown; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        windowsShown = 0;
        note->setFocus();
        date->setFocus();
        date->setInputClass(c.inputClass);
        date->setText(c.start);  // set by the program: the caret goes to the start
        for (const DesktopKey& key : c.keys) Press(date, key);
        Type(date, c.typed);
        EXPECT_EQ(date->text(), c.text);
        EXPECT_EQ(windowsShown, c.windowsShown);
    }
}

}  // namespace
}  // namespace kb
