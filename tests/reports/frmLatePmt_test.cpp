#include "reports/frmLatePmt.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "book_test_data.h"

namespace kb {
namespace {

using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;

class LatePaymentsWindowTest : public ::testing::Test {
protected:
    void open() {
        window = std::make_unique<frmLatePmt>(book.kb, test::kCaption);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        list = window->findChild<QListWidget*>("lstLatePmts");
    }
    void press(const char* button) { QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton); }

    test::TestBook book;
    std::unique_ptr<frmLatePmt> window;
    QListWidget* list = nullptr;
};

TEST_F(LatePaymentsWindowTest, TheStatementIsForTheSelectedRowOnly) {
    book.add(test::Loan("A17", "JOHN Q", "SMITH", year{2026} / 10 / 15, "900", "125.25", "217-555-0101"));
    book.add(test::Loan("B2", "ANN", "DOE", year{2026} / 12 / 6, "900", "125.25"));
    open();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(),
              "10/15/2026 " + test::Padded("JOHN Q SMITH", 32) + "       125.25 217-555-0101 A17     ");
    press("cmdPrintStmt");
    EXPECT_EQ(book.dialogs.messages, (std::vector<Message>{{"NO ITEM SELECTED!", kAppTitle, Buttons::OK, Icon::None}}));
    EXPECT_TRUE(book.dialogs.printDialogs.empty());

    list->item(0)->setSelected(true);
    book.answer(PrinterChoice{}, {Answer::OK});
    press("cmdPrintStmt");
    ASSERT_EQ(book.printing.pages.size(), 1u);
    EXPECT_EQ(book.printing.pages[0].at(22), "              Due Date: 10/15/2026      Total Due: 250.50");
    press("cmdExit");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(LatePaymentsWindowTest, NoLateLoanIsSaidOnOpening) {
    book.add(test::Loan("B2", "ANN", "DOE", year{2026} / 12 / 6, "900", "125.25"));
    open();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(book.dialogs.messages,
              (std::vector<Message>{{"NO LATE PAYMENTS FOUND", kAppTitle, Buttons::OK, Icon::None}}));
}

TEST_F(LatePaymentsWindowTest, ALongListScrollsDownOnlyWithEveryRowWhole) {
    for (int n = 1; n <= 60; ++n)
        book.add(test::Loan(test::Numbered(n), "ANN", "ROW", year{2026} / 10 / 15, "900", "125.25", "217-555-0101"));
    open();
    QApplication::processEvents();
    ASSERT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
}

}  // namespace
}  // namespace kb
