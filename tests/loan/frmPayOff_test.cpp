#include "loan/frmPayOff.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/doubles.h"

namespace kb {
namespace {

class PayOffWindowTest : public ::testing::Test, protected test::Doubles {
protected:
    void open(const QString& loanDT, const std::optional<std::string>& newestPmtDT) {
        window = new frmPayOff(kb, &loanScreen, "1000.00", "18.000", loanDT, newestPmtDT);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        date = window->findChild<QLineEdit*>("txtPODate");
        amount = window->findChild<QLineEdit*>("txtPOAmt");
    }
    void TearDown() override {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QWidget loanScreen;
    QPointer<frmPayOff> window;
    QLineEdit* date = nullptr;
    QLineEdit* amount = nullptr;
};

TEST_F(PayOffWindowTest, TypedDateAndEnterShowTheAmountWhileTheLoanScreenWaits) {
    open("06/15/2023", "01/31/2024");
    EXPECT_FALSE(loanScreen.isEnabled());
    QTest::keyClicks(date, "3/1/2024");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(date->text(), "03/01/2024");
    EXPECT_EQ(amount->text(), "  1,014.79");
    EXPECT_TRUE(date->hasFocus());

    // Backspace at the start empties the date; Tab asks for the amount as Enter does.
    date->setCursorPosition(0);
    QTest::keyClick(date, Qt::Key_Backspace);
    QTest::keyClicks(date, "1/31/2024");
    QTest::keyClick(date, Qt::Key_Tab);
    EXPECT_EQ(amount->text(), "  1,000.00");
    EXPECT_TRUE(date->hasFocus());

    QTest::mouseClick(window->findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(loanScreen.isEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PayOffWindowTest, NoDateIsAskedForAndNoLoanDateIsReported) {
    open("", std::nullopt);
    QTest::keyClick(date, Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], (test::ScriptedDialogs::Message{"CAN'T FIGURE A PAYOFF AMOUNT WITHOUT A DATE",
                                                                    kAppTitle, Buttons::OK, Icon::None}));
    EXPECT_TRUE(date->hasFocus());

    QTest::keyClicks(date, "1/31/2024");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(amount->text(), "  1,000.00");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].title, "PAYOFF - txt PO AMT");
    EXPECT_EQ(dialogs.messages[1].icon, Icon::Critical);
}

}  // namespace
}  // namespace kb
