#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <fstream>

#include "app/Main.h"
#include "app/startup.h"
#include "core/config.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

QMainWindow* LoanListWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "frmKBLst" && window->isVisible()) return qobject_cast<QMainWindow*>(window);
    }
    return nullptr;
}

class MainTest : public ::testing::Test, protected test::Doubles {
protected:
    void TearDown() override {
        if (QMainWindow* window = LoanListWindow()) window->close();
        QApplication::processEvents();
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

// With the password switch on, the loan list opens with the business name in its caption for the password in
// any case, and nothing opens for a wrong one.
TEST_F(MainTest, PasswordSwitchOnAcceptsLowerCaseAndEndsSilentlyOtherwise) {
    std::ofstream("KB.CFG") << "\"ACME MOTORS\",#TRUE#,\"\",\"\"\r\n";
    dialogs.answerPrompt("blu4rx");
    Main(kb);
    QMainWindow* window = LoanListWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "KESTREL-BOOK VER8.03 for ACME MOTORS");
    window->close();
    QApplication::processEvents();

    dialogs.answerPrompt("guess");
    Main(kb);
    EXPECT_EQ(LoanListWindow(), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
