#include "setup/KBSetup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <filesystem>
#include <tuple>

#include "app/Main.h"
#include "core/config.h"
#include "support/window_test.h"

namespace kb {
namespace {

using test::FileText;

class SetupScreenTest : public test::WindowTest {
protected:
    std::unique_ptr<KBSetup> Open(const char* setupMode) {
        kb.SetupMode = setupMode;
        auto setup = std::make_unique<KBSetup>(kb);
        setup->show();
        return setup;
    }
};

// Opens the screen on the file there is (or none), types, leaves it, and checks the file and the settings in use.
TEST_F(SetupScreenTest, ShowsTheFileAndOnlyOKRewritesIt) {
    const auto Settings = [](auto& in) { return std::tie(in.DealerNm, in.PassWrd, in.TYMsg1, in.TYMsg2); };
    const char* const old = "\"ACME\",#FALSE#,  \"OLD LINE\",\"\"";
    const std::string thanks = "\"THANK YOU FOR YOUR PAYMENT\",\"\"\r\n";
    const struct {
        const char* name;
        const char* mode;
        const char* before;  // KB.CFG when the screen opens, none when null
        bool checkPassWrd;
        const char* field;   // typed over, when named
        const char* typed;
        const char* button;  // empty: the close box
        std::string after;
    } cases[] = {
        {"options without a file", "S", nullptr, true, "", "", "cmdOK_0",
         "\"HARROWDALE (800) 555-0142\",#TRUE#," + thanks},
        {"blanks around a name and a double quote in it", "R", nullptr, false, "Text1", "  JOE \"BIG\" AUTO   ",
         "cmdOK_1", "\"  JOE 'BIG' AUTO\",#FALSE#," + thanks},
        // OK with nothing typed writes back what the panel was filled with.
        {"options from the file", "", "\"ACME\",#TRUE#,\"LINE 1\",\"LINE 2\"\r\n", false, "", "", "cmdOK_0",
         "\"ACME\",#TRUE#,\"LINE 1\",\"LINE 2\"\r\n"},
        {"CANCEL", "S", old, true, "txtTYMsg_1", "NEW LINE", "cmdCancel_0", old},
        {"close box", "S", old, true, "txtTYMsg_1", "NEW LINE", "", old},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kConfigPath);
        if (c.before) std::ofstream(kConfigPath, std::ios::binary) << c.before;
        // The settings start-up puts in use without KB.CFG.
        Settings(kb) = std::tuple(kDefaultDealerNm, false, kDefaultThankYou, "");
        auto setup = Open(c.mode);
        const bool namePanel = std::string_view(c.mode) == "R";
        EXPECT_EQ(setup->findChild<QWidget*>("pbxSetup_0")->isHidden(), namePanel);
        EXPECT_EQ(setup->findChild<QWidget*>("pbxSetup_1")->isHidden(), !namePanel);
        QSignalSpy stored(setup.get(), &KBSetup::settingsStored);
        if (c.checkPassWrd) setup->findChild<QCheckBox*>("chkPassWrd")->setChecked(true);
        if (*c.field) setup->findChild<QLineEdit*>(c.field)->setText(c.typed);
        if (*c.button)
            QTest::mouseClick(setup->findChild<QPushButton*>(c.button), Qt::LeftButton);
        else
            setup->close();
        const bool ok = std::string_view(c.button).starts_with("cmdOK");
        EXPECT_EQ(FileText(kConfigPath), c.after);
        EXPECT_EQ(stored.count(), ok ? 1 : 0);
        EXPECT_EQ(setup->result(), ok ? QDialog::Accepted : QDialog::Rejected);
        // The settings in use are the file's, whether OK wrote it or it was left alone.
        Config read = ReadConfigFile(kConfigPath);
        EXPECT_EQ(Settings(read), Settings(kb));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(SetupScreenTest, AFileThatCannotBeWrittenIsReportedAndTheSettingsStillStored) {
    std::filesystem::create_directory(kConfigPath);
    auto setup = Open("R");
    QSignalSpy stored(setup.get(), &KBSetup::settingsStored);
    QTest::keyClicks(setup->findChild<QLineEdit*>("Text1"), "ACME");
    QTest::mouseClick(setup->findChild<QPushButton*>("cmdOK_1"), Qt::LeftButton);
    EXPECT_EQ(kb.DealerNm, "ACME");
    EXPECT_EQ(stored.count(), 1);
    EXPECT_EQ(setup->result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].title == "SETUP - OK CMD" && dialogs.messages[0].icon == Icon::Critical);
}

// Through Main: the setup keys of the loan list open the screen, and OK gives the list its new caption; F1 opens
// the help viewer.
TEST_F(SetupScreenTest, SetupKeysAndF1OfTheLoanListOpenTheirWindows) {
    std::filesystem::copy_file(KB_HELP_FILE, kHelpPath);
    Main(kb);
    QWidget* list = Shown("frmKBLst");
    ASSERT_NE(list, nullptr);
    auto* lstLoan = list->findChild<QWidget*>("lstLoan");

    WhenModalOpens([](QWidget& modal) {
        EXPECT_EQ(modal.objectName(), "KBSetup");
        EXPECT_FALSE(modal.findChild<QWidget*>("pbxSetup_1")->isHidden());
        QTest::keyClicks(modal.findChild<QLineEdit*>("Text1"), "ACME MOTORS");
        QTest::mouseClick(modal.findChild<QPushButton*>("cmdOK_1"), Qt::LeftButton);
    });
    QTest::keyClick(lstLoan, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(list->windowTitle(), "KESTREL-BOOK VER8.03 for ACME MOTORS");

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
