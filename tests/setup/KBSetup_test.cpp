#include "setup/KBSetup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/Main.h"
#include "core/config.h"
#include "core/startup.h"
#include "setup/setup_settings.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SetupScreenTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        // The values start-up gives them without KB.CFG.
        kb.DealerNm = kDefaultDealerNm;
        kb.PassWrd = false;
        kb.TYMsg1 = kDefaultThankYou;
        kb.TYMsg2.clear();
    }

    std::unique_ptr<KBSetup> Open(const char* setupMode) {
        kb.SetupMode = setupMode;
        auto setup = std::make_unique<KBSetup>(kb);
        setup->show();
        return setup;
    }
    template <class Widget>
    static Widget* Find(KBSetup& setup, const char* name) {
        auto* widget = setup.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Click(KBSetup& setup, const char* button) {
        QTest::mouseClick(Find<QPushButton>(setup, button), Qt::LeftButton);
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

TEST_F(SetupScreenTest, OpensThePanelOfTheModeFilledFromTheFile) {
    const struct {
        const char* mode;
        const char* file;  // none: no KB.CFG, the panel keeps its defaults
        bool businessName;
        bool passWrd;
        const char* tyMsg1;
        const char* tyMsg2;
        const char* dealerNm;
    } cases[] = {
        {"S", nullptr, false, false, "THANK YOU FOR YOUR PAYMENT", "", ""},
        {"R", nullptr, true, false, "THANK YOU FOR YOUR PAYMENT", "", ""},
        {"", "\"ACME\",#TRUE#,\"LINE 1\",\"LINE 2\"\r\n", false, true, "LINE 1", "LINE 2", "ACME"},
        {"R", "\"ACME\",#FALSE#\r\n", true, false, "", "", "ACME"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.file ? c.file : ""));
        std::filesystem::remove(kConfigPath);
        if (c.file) std::ofstream(kConfigPath, std::ios::binary) << c.file;
        auto setup = Open(c.mode);
        EXPECT_EQ(setup->windowTitle(), "KESTREL BOOK SETUP");
        EXPECT_EQ(Find<QWidget>(*setup, "pbxSetup_0")->isHidden(), c.businessName);
        EXPECT_EQ(Find<QWidget>(*setup, "pbxSetup_1")->isHidden(), !c.businessName);
        EXPECT_EQ(Find<QCheckBox>(*setup, "chkPassWrd")->isChecked(), c.passWrd);
        EXPECT_EQ(Find<QLineEdit>(*setup, "txtTYMsg_0")->text(), c.tyMsg1);
        EXPECT_EQ(Find<QLineEdit>(*setup, "txtTYMsg_1")->text(), c.tyMsg2);
        EXPECT_EQ(Find<QLineEdit>(*setup, "Text1")->text(), c.dealerNm);
        if (c.file) {
            EXPECT_EQ(kb.DealerNm, "ACME");
        }
    }
}

TEST_F(SetupScreenTest, OKWritesTheFileThatReadsBack) {
    const struct {
        const char* name;
        const char* mode;
        std::function<void(KBSetup&)> edit;
        const char* button;
        const char* file;
    } cases[] = {
        {"options without a file", "S",
         [](KBSetup& setup) { Find<QCheckBox>(setup, "chkPassWrd")->setChecked(true); }, "cmdOK_0",
         "\"HARROWDALE (800) 555-0142\",#TRUE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n"},
        {"empty name", "R", [](KBSetup&) {}, "cmdOK_1",
         "\"HARROWDALE, INC. (800) 555-0199\",#FALSE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n"},
        {"blanks around a name", "R",
         [](KBSetup& setup) { QTest::keyClicks(Find<QLineEdit>(setup, "Text1"), "  ACME MOTORS   "); }, "cmdOK_1",
         "\"  ACME MOTORS\",#FALSE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n"},
        {"both thank-you lines cleared", "S",
         [](KBSetup& setup) { Find<QLineEdit>(setup, "txtTYMsg_0")->clear(); }, "cmdOK_0",
         "\"HARROWDALE (800) 555-0142\",#FALSE#,\"\",\"\"\r\n"},
        {"a double quote typed in a name", "R",
         [](KBSetup& setup) { QTest::keyClicks(Find<QLineEdit>(setup, "Text1"), "JOE \"BIG\" AUTO"); }, "cmdOK_1",
         "\"JOE 'BIG' AUTO\",#FALSE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kConfigPath);
        SetUp();
        auto setup = Open(c.mode);
        QSignalSpy stored(setup.get(), &KBSetup::settingsStored);
        c.edit(*setup);
        Click(*setup, c.button);
        EXPECT_EQ(FileText(kConfigPath), c.file);
        EXPECT_EQ(stored.count(), 1);
        EXPECT_EQ(setup->result(), QDialog::Accepted);
        const Config read = ReadConfigFile(kConfigPath);
        EXPECT_EQ(read.DealerNm, kb.DealerNm);
        EXPECT_EQ(read.TYMsg1, kb.TYMsg1);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(SetupScreenTest, CancelAndTheCloseBoxLeaveTheFileByteForByte) {
    const std::string old = "\"ACME\",#FALSE#,  \"OLD LINE\",\"\"";
    const std::pair<const char*, std::function<void(KBSetup&)>> cases[] = {
        {"CANCEL", [](KBSetup& setup) { Click(setup, "cmdCancel_0"); }},
        {"close box", [](KBSetup& setup) { setup.close(); }},
    };
    for (const auto& [name, leave] : cases) {
        SCOPED_TRACE(name);
        std::ofstream(kConfigPath, std::ios::binary) << old;
        auto setup = Open("S");
        QSignalSpy stored(setup.get(), &KBSetup::settingsStored);
        Find<QCheckBox>(*setup, "chkPassWrd")->setChecked(true);
        QTest::keyClicks(Find<QLineEdit>(*setup, "txtTYMsg_1"), "NEW LINE");
        leave(*setup);
        EXPECT_EQ(FileText(kConfigPath), old);
        EXPECT_EQ(stored.count(), 0);
        EXPECT_EQ(kb.TYMsg1, "OLD LINE");
        EXPECT_EQ(kb.TYMsg2, "");
    }
}

TEST_F(SetupScreenTest, AFileThatCannotBeWrittenIsReportedAfterTheScreenCloses) {
    std::filesystem::create_directory(kConfigPath);
    auto setup = Open("R");
    QSignalSpy stored(setup.get(), &KBSetup::settingsStored);
    QTest::keyClicks(Find<QLineEdit>(*setup, "Text1"), "ACME");
    Click(*setup, "cmdOK_1");
    EXPECT_EQ(kb.DealerNm, "ACME");
    EXPECT_EQ(stored.count(), 1);
    EXPECT_EQ(setup->result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "SETUP - OK CMD");
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    EXPECT_TRUE(std::filesystem::is_directory(kConfigPath));
}

// Through Main: the setup keys of the loan list open the screen, and OK gives the list its new caption; F1 opens
// the help viewer.
class MainSetupAndHelpTest : public SetupScreenTest {
protected:
    void TearDown() override {
        if (list) list->close();
        QApplication::processEvents();
    }
    // Answers the modal window that opens next.
    static void WhenModalOpens(std::function<void(QWidget&)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            answer(*modal);
        });
    }

    QMainWindow* list = nullptr;
};

TEST_F(MainSetupAndHelpTest, SetupKeysAndF1OpenTheirWindows) {
    std::filesystem::copy_file(KB_HELP_FILE, kHelpPath);
    Main(kb);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "frmKBLst" && window->isVisible()) list = qobject_cast<QMainWindow*>(window);
    }
    ASSERT_NE(list, nullptr);
    auto* lstLoan = list->findChild<QListWidget*>("lstLoan");

    WhenModalOpens([](QWidget& modal) {
        EXPECT_EQ(modal.objectName(), "KBSetup");
        EXPECT_FALSE(modal.findChild<QWidget*>("pbxSetup_1")->isHidden());
        QTest::keyClicks(modal.findChild<QLineEdit*>("Text1"), "ACME MOTORS");
        QTest::mouseClick(modal.findChild<QPushButton*>("cmdOK_1"), Qt::LeftButton);
    });
    QTest::keyClick(lstLoan, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(list->windowTitle(), "KESTREL-BOOK VER8.03 for ACME MOTORS");

    WhenModalOpens([](QWidget& modal) {
        EXPECT_EQ(modal.objectName(), "KBSetup");
        EXPECT_FALSE(modal.findChild<QWidget*>("pbxSetup_0")->isHidden());
        QTest::mouseClick(modal.findChild<QPushButton*>("cmdCancel_0"), Qt::LeftButton);
    });
    QTest::keyClick(lstLoan, Qt::Key_Equal, Qt::ControlModifier | Qt::AltModifier);

    WhenModalOpens([this](QWidget& modal) {
        EXPECT_EQ(modal.windowTitle(), "HELP");
        EXPECT_EQ(kb.HelpTarget, "./KB_HLP.RTF");
        QTest::mouseClick(modal.findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
    });
    QTest::keyClick(lstLoan, Qt::Key_F1);
    EXPECT_EQ(kb.HelpTarget, "");
    EXPECT_EQ(FileText(kConfigPath), "\"ACME MOTORS\",#FALSE#,\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
