#include "list/frmKBLst.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QAction>
#include <QLabel>

#include "support/desktop.h"
#include "support/window_test.h"

namespace kb {
namespace {

using namespace std::chrono;

class LoanListWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        addLoan("B20", "smith", "MARY", year{2026} / 1 / 15);
        addLoan("A1", "SMITH", "JOHN", std::nullopt);
        addLoan("C3", "Adams", "ZOE", year{2025} / 12 / 1);
        addLoan("A10", "SMITH", "JOHN", year{2026} / 1 / 15);
        window = std::make_unique<frmKBLst>(kb);
        list = window->findChild<QListWidget*>("lstLoan");
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void addLoan(const std::string& number, const std::string& last, const std::string& first,
                 std::optional<Date> due) {
        WindowTest::addLoan({number, last, first, "", "", "", "", "", "", "", "", "", "", "", due, "", "100"});
    }
    // Gives the list the focus, which fills it anew.
    void focusList() {
        window->findChild<QWidget*>("cmdAdd")->setFocus();
        list->setFocus();
        QApplication::processEvents();
    }
    std::vector<std::string> listedLoans() const {
        std::vector<std::string> numbers;
        for (const std::string& row : Rows(list)) numbers.push_back(row.substr(0, row.find(' ')));
        return numbers;
    }

    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }

    std::unique_ptr<frmKBLst> window;
    QListWidget* list = nullptr;
};

TEST_F(LoanListWindowTest, ListFollowsTheChosenOrder) {
    focusList();
    EXPECT_EQ(listedLoans(), (std::vector<std::string>{"A1", "A10", "B20", "C3"}));
    EXPECT_FALSE(window->findChild<QLabel*>("lblLstLd")->isVisible());

    struct OrderCase {
        const char* menuItem;
        const char* sortLabel;
        std::vector<std::string> loans;
    };
    const OrderCase orders[] = {
        // Equal names in loan-number order; upper and lower case sort together.
        {"mnuNameSort", "LOAN-NAME SORT", {"C3", "A1", "A10", "B20"}},
        // Loans without a due date come first.
        {"mnuDateSort", "LOAN-DATE SORT", {"A1", "C3", "A10", "B20"}},
        {"mnuIDSort", "LOAN-IDENTIFICATION SORT", {"A1", "A10", "B20", "C3"}},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.menuItem);
        action(order.menuItem)->trigger();
        EXPECT_EQ(window->findChild<QLabel*>("lblLoanSort")->text().toStdString(), order.sortLabel);
        EXPECT_EQ(listedLoans(), order.loans);
        for (const char* item : {"mnuIDSort", "mnuNameSort", "mnuDateSort"})
            EXPECT_EQ(action(item)->isEnabled(), std::string(item) != order.menuItem) << item;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoanListWindowTest, ListIsRebuiltWhenItGetsTheFocusAgain) {
    focusList();
    addLoan("D4", "NEW", "", std::nullopt);
    focusList();
    EXPECT_EQ(listedLoans().back(), "D4");
    EXPECT_EQ(window->windowTitle().toStdString(), "KESTREL-BOOK VER8.03 for HARROWDALE (800) 555-0142");

    // A menu closing hands the focus back without a refill: the loan its command is about stays selected.
    for (Qt::FocusReason fromMenu : {Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
        list->setCurrentRow(1);
        QFocusEvent focusBack(QEvent::FocusIn, fromMenu);
        QApplication::sendEvent(list, &focusBack);
        EXPECT_EQ(list->selectedItems().size(), 1) << fromMenu;
    }
}

// A figure that cannot be read is named once and its loan still listed; a file that cannot be read is named once
// and the rows shown stay.
TEST_F(LoanListWindowTest, WhatCannotBeReadIsNamedOnceAndTheLoansStayListed) {
    addLoan("Z9", "HUGE", "", std::nullopt);
    {  // written by another program, past the table's size rule
        SQLite::Database file(kb.LoanDB, SQLite::OPEN_READWRITE);
        file.exec("PRAGMA ignore_check_constraints = ON");
        file.exec("UPDATE KBLoan SET Balance = '" + std::string(400, '9') + "' WHERE LoanNbr = 'Z9'");
    }
    focusList();
    window->FillList();  // as at the next focus gain
    EXPECT_EQ(listedLoans(), (std::vector<std::string>{"A1", "A10", "B20", "C3", "Z9"}));
    std::filesystem::remove(dir.file("KB_Loan.mdb"));
    window->FillList();
    window->FillList();
    EXPECT_EQ(list->count(), 5);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], Failed("LOAN Z9: Balance - Overflow", "FILL LIST"));
    EXPECT_EQ(dialogs.messages[1], Failed("KB_Loan.mdb was not found", "FILL LIST"));
}

TEST_F(LoanListWindowTest, WithNoLoanSelectedDownSelectsTheFirstAndUpTheLast) {
    const std::pair<std::vector<test::DesktopKey>, int> cases[] = {
        {{test::kDown}, 0}, {{test::kUp}, 3}, {{test::kDown, test::kDown}, 1}};
    for (const auto& [keys, selectedRow] : cases) {
        focusList();  // refilled: nothing selected
        for (const test::DesktopKey& key : keys) test::Press(list, key);
        ASSERT_EQ(list->selectedItems().size(), 1);
        EXPECT_EQ(list->row(list->selectedItems().front()), selectedRow) << keys.size();
    }
}

// Type-ahead by last name in name order; after a pause a new search starts.
TEST_F(LoanListWindowTest, TypedLettersSelectTheFirstLoanWhoseKeyStartsWithThem) {
    action("mnuNameSort")->trigger();
    focusList();
    test::Type(list, "sm");
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(listedLoans()[static_cast<std::size_t>(list->currentRow())], "A1");
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    test::Type(list, "a");
    EXPECT_EQ(listedLoans()[static_cast<std::size_t>(list->currentRow())], "C3");
}

TEST_F(LoanListWindowTest, LoanListReportPrintsTheRowsAsShownAndTheirTotals) {
    action("mnuNameSort")->trigger();
    dialogs.answerPrinter(PrinterChoice{});
    dialogs.answerMessage(Answer::OK);
    action("mnuLoanRpt")->trigger();
    ASSERT_EQ(printing.pages.size(), 1u);
    const std::vector<std::string>& page = printing.pages[0];
    ASSERT_EQ(page.size(), 6u + 4u + 2u);
    EXPECT_EQ(page[0], " " + window->windowTitle().toStdString());
    for (int i = 0; i < list->count(); ++i) EXPECT_EQ(page[6 + i], " " + list->item(i)->text().toStdString());
    EXPECT_EQ(page.back(), std::string(34, ' ') + "Total:        400.00" + std::string(18, ' ') + "0.00");
}

TEST_F(LoanListWindowTest, LatePaymentListOpensOverTheWaitingList) {
    focusList();
    std::string opened;
    WhenModalOpens([&](QWidget& late) {
        opened = late.objectName().toStdString() + " " + std::to_string(late.findChild<QListWidget*>()->count());
        late.close();
    });
    action("mnuLatePmt")->trigger();
    EXPECT_EQ(opened, "frmLatePmt 4");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoanListWindowTest, BackUpNowAndRestoreFromBackupBringTheBookBack) {
    // The day's copy that start-up made before the loans were added is replaced by one of the four loans.
    action("mnuBackUpNow")->trigger();
    const std::string copy = (dir.path() / "backup/2026-12-06").string();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The book was backed up in " + copy + ".");
    kb.book->deleteLoan("C3");

    dialogs.answerItem(0);
    dialogs.answerMessage(Answer::Yes);
    action("mnuRestore")->trigger();
    EXPECT_EQ(dialogs.choices, (std::vector<std::vector<std::string>>{{"2026-12-06", "Another folder..."}}));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dialogs.messages[1].text.starts_with("The copy in " + copy + " holds 4 loans and 0 payments.\n\n"))
        << dialogs.messages[1].text;
    EXPECT_EQ(dialogs.messages[2].text, "The copy in " + copy + " is now the book.");
    EXPECT_EQ(listedLoans(), (std::vector<std::string>{"A1", "A10", "B20", "C3"}));
    // The book as it was before the restore is kept beside the copies.
    std::vector<std::filesystem::path> beforeRestore;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "backup")) {
        if (entry.path().filename().string().starts_with("before-restore-2026-12-06-")) beforeRestore.push_back(entry);
    }
    ASSERT_EQ(beforeRestore.size(), 1u);
    EXPECT_EQ(LoanTable((beforeRestore[0] / "KB_Loan.mdb").string()).readAll(LoanOrder::ById).size(), 3u);
}

}  // namespace
}  // namespace kb
