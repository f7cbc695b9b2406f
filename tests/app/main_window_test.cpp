#include "app/Main.h"
#include "support/window_test.h"

namespace kb {
namespace {

using MainTest = test::WindowTest;

// With the password switch on, the loan list opens with the business name in its caption for the password in
// any case, and nothing opens for a wrong one.
TEST_F(MainTest, PasswordSwitchOnAcceptsLowerCaseAndEndsSilentlyOtherwise) {
    std::ofstream("KB.CFG") << "\"ACME MOTORS\",#TRUE#,\"\",\"\"\r\n";
    dialogs.answerPrompt("blu4rx");
    Main(kb);
    QWidget* window = Shown("frmKBLst");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "KESTREL-BOOK VER8.03 for ACME MOTORS");
    window->close();
    Settle();

    dialogs.answerPrompt("guess");
    Main(kb);
    EXPECT_EQ(Shown("frmKBLst"), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
