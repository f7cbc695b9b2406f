#include "reports/frmRptCnd.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "book_test_data.h"

namespace kb {
namespace {

using Message = test::ScriptedDialogs::Message;

class ReportConditionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        loanList.setWindowTitle(test::kCaption);
        window = new frmRptCnd(book.kb, &loanList);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_FALSE(loanList.isEnabled());
    }
    void TearDown() override {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QLineEdit* field(int index) const { return window->findChild<QLineEdit*>(QString("txtCnd_%1").arg(index)); }
    // Types the dates as a user would and presses OK, which takes the focus from the field being typed in.
    void run(const char* beginning, const char* ending) {
        for (int i : {0, 1}) {
            field(i)->clear();
            field(i)->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(field(i), i == 0 ? beginning : ending);
        }
        QTest::mouseClick(window->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    test::TestBook book;
    QWidget loanList;
    QPointer<frmRptCnd> window;
};

TEST_F(ReportConditionsTest, RefusedDatesLeaveTheWindowOpenAsTyped) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"3/31/2001", "3/1/2001", "03/31/2001", "INVALID DATE RANGE"},
        {"", "3/1/2001", "", "MISSING BEGINNING OR ENDING DATE"},
    };
    for (const auto& [beginning, ending, shown, message] : cases) {
        book.dialogs.messages.clear();
        run(beginning, ending);
        ASSERT_FALSE(window.isNull()) << message;
        EXPECT_EQ(field(0)->text(), shown);
        EXPECT_EQ(book.dialogs.messages, (std::vector<Message>{{message, kAppTitle, Buttons::OK, Icon::None}}));
        EXPECT_FALSE(loanList.isEnabled());
    }
    EXPECT_TRUE(book.dialogs.printDialogs.empty());
}

TEST_F(ReportConditionsTest, NoPaymentInTheRangeClosesTheWindowWithoutADialog) {
    book.pay("A1", "02/28/2001", "100");
    book.pay("A1", "04/01/2001", "100");
    run("3/1/2001", "3/31/2001");
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(book.dialogs.messages.empty());
    EXPECT_TRUE(book.dialogs.printDialogs.empty());
    EXPECT_TRUE(loanList.isEnabled());
}

TEST_F(ReportConditionsTest, AcceptedDatesPrintThePaymentsAndClose) {
    book.add(test::Loan("A1", "ANN", "LEE", std::nullopt));
    book.pay("A1", "03/01/2001", "100");
    book.pay("A1", "03/31/2001", "25.5");
    book.answer(PrinterChoice{}, {Answer::OK});
    run("3/1/2001", "3/31/2001");
    EXPECT_TRUE(window.isNull());
    ASSERT_EQ(book.printing.pages.size(), 1u);
    EXPECT_EQ(book.printing.pages[0].at(0), "    KESTREL-BOOK VER8.03 for ACME MOTORS");
    EXPECT_EQ(book.printing.pages[0].back(), std::string(46, ' ') + "Total:        125.50");
    EXPECT_TRUE(loanList.isEnabled());
}

}  // namespace
}  // namespace kb
