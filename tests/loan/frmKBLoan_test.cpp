#include "loan/frmKBLoan.h"

#include <QAction>
#include <QLineEdit>

#include "list/frmKBLst.h"
#include "support/desktop.h"
#include "support/window_test.h"

namespace kb {
namespace {

using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;

// The loan list with the loan record screen opened from it, driven as a lender drives them.
class LoanScreenTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        list = std::make_unique<frmKBLst>(kb);
        lstLoan = list->findChild<QListWidget*>("lstLoan");
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    }

    void addLoan(const std::string& number, const std::string& last, const std::string& amount) {
        WindowTest::addLoan({number, last, "", "", "", "", "", "", "", "", "", amount, "", "", {}, "", amount});
        list->FillList();
    }
    std::optional<LoanRecord> stored(const std::string& number) const { return LoanTable(kb.LoanDB).find(number); }
    static QWidget* screen() { return Shown("frmKBLoan"); }

    // Selects the loan's row (none when empty) and gives the command, a button or a menu item of the list.
    void command(const char* name, const std::string& loanNbr = "") {
        for (int row = 0; row < lstLoan->count() && !loanNbr.empty(); ++row)
            if (lstLoan->item(row)->text().startsWith(QString::fromStdString(loanNbr + ' ')))
                lstLoan->setCurrentRow(row);
        if (auto* button = list->findChild<QPushButton*>(name))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            list->findChild<QAction*>(name)->trigger();
        Settle();
        if (QWidget* open = screen()) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(open));
        }
    }

    QLineEdit* field(int index) const { return screen()->findChild<QLineEdit*>(QString("txtLoan_%1").arg(index)); }
    std::string text(int index) const { return field(index)->text().toStdString(); }
    void type(int index, const char* typed) { TypeOver(field(index), typed); }
    static void click(const char* button) { Click(screen(), button); }

    // The loan number column of the list.
    std::vector<std::string> listed() const {
        std::vector<std::string> numbers;
        for (const std::string& row : Rows(lstLoan)) numbers.push_back(row.substr(0, row.find(' ')));
        return numbers;
    }

    std::unique_ptr<frmKBLst> list;
    QListWidget* lstLoan = nullptr;
};

TEST_F(LoanScreenTest, AddedLoanIsTypedSavedAndListed) {
    command("cmdAdd");
    ASSERT_NE(screen(), nullptr);
    EXPECT_FALSE(list->isVisible() || list->isEnabled());
    EXPECT_EQ(screen()->windowTitle(), list->windowTitle());
    EXPECT_FALSE(screen()->findChild<QPushButton*>("cmdMkPmt")->isVisible());

    const std::pair<int, const char*> typed[] = {{0, "a7-x"},    {1, "JONES"}, {5, "ny"},        {10, "3/5/2026"},
                                                 {11, "1234.5"}, {12, "9"},    {14, "4/5/2026"}, {15, "110.25"}};
    for (const auto& [index, keys] : typed) type(index, keys);
    for (const test::DesktopKey& key : {test::kHome, test::kRight, test::kDelete, test::kEnd, test::kBackspace})
        test::Press(field(1), key);
    // Each field shown as it was left; the balance follows the amount, and cannot be entered.
    EXPECT_EQ((std::vector{text(5), text(10), text(11), text(16)}),
              (std::vector<std::string>{"NY", "03/05/2026", "1234.50", "1234.50"}));
    field(11)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(text(11), "1234.5");  // entered again, plain
    QTest::mouseClick(field(16), Qt::LeftButton);
    EXPECT_FALSE(field(16)->hasFocus());

    click("cmdSave");
    EXPECT_EQ(screen(), nullptr);
    EXPECT_TRUE(list->isVisible() && list->isEnabled());
    EXPECT_EQ(listed(), std::vector<std::string>{"a7-x"});
    const LoanRecord loan = stored("A7-X").value();
    EXPECT_EQ((std::vector{loan.LastNm, loan.LoanAmt, loan.Balance, loan.APR, loan.State, loan.Payment, loan.LoanDT}),
              (std::vector<std::string>{"JNE", "1234.50", "1234.50", "9.000", "NY", "110.25", "03/05/2026"}));
    EXPECT_EQ(loan.NextPmtDT, year{2026} / 4 / 5);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoanScreenTest, ProcessedLoanIsEditedAndSavedOrLeftAsStored) {
    addLoan("B7", "JONES", "500.00");
    addLoan("C3", "ADAMS", "100.00");
    command("cmdProcess", "B7");
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(kb.CurLoanNbr, "B7      ");  // the row's blanks stay; the lookup ignores them
    EXPECT_TRUE(text(0) == "B7" && field(0)->isReadOnly() && field(0)->toolTip().isEmpty());
    EXPECT_EQ(field(0)->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(field(0)->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(field(1)->hasFocus());
    type(1, "SMITH");
    click("cmdExit");
    EXPECT_EQ(stored("B7")->LastNm, "JONES");

    // A double click: a click, then the press of a second click and the double click itself.
    const QPoint row = lstLoan->visualItemRect(lstLoan->item(0)).center();
    QTest::mouseClick(lstLoan->viewport(), Qt::LeftButton, {}, row);
    QTest::mousePress(lstLoan->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(lstLoan->viewport(), Qt::LeftButton, {}, row);
    Settle();
    ASSERT_NE(screen(), nullptr);
    ASSERT_EQ(text(0), "B7");
    type(1, "BROWN");
    type(11, "750");
    click("cmdSave");
    EXPECT_EQ(screen(), nullptr);
    EXPECT_EQ(stored("B7")->Balance, "750.00");  // no payments yet: the balance follows the amount
    EXPECT_EQ(lstLoan->item(0)->text().left(16).toStdString(), "B7       BROWN, ");
    EXPECT_TRUE(dialogs.messages.empty());
}

// A1 is listed but no longer on file; then no row is selected.
TEST_F(LoanScreenTest, CommandsThatFindNoLoanOpenNothing) {
    addLoan("A1", "SMITH", "100.00");
    LoanTable(kb.LoanDB).remove("A1");
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"cmdProcess", "A1", "RECORD NOT FOUND"},       {"cmdProcess", "", "NO LOAN HAS BEEN SELECTED"},
        {"mnuDelete", "", "NO LOAN HAS BEEN SELECTED"},
    };
    for (const auto& [name, loanNbr, message] : cases) {
        dialogs.messages.clear();
        command(name, loanNbr);
        EXPECT_EQ(screen(), nullptr) << name;
        EXPECT_TRUE(list->isVisible() && list->isEnabled()) << name;
        EXPECT_EQ(dialogs.messages, std::vector<Message>{Said(message)}) << name;
    }
}

// Save refused, by the screen or by the store (a duplicate loan number): the screen stays open with what was typed.
TEST_F(LoanScreenTest, RefusedSaveKeepsTheScreenAndWhatWasTyped) {
    addLoan("A1", "SMITH", "100.00");
    const std::vector<LoanRecord> before = LoanTable(kb.LoanDB).readAll(LoanOrder::ById);
    const std::tuple<const char*, const char*, Message> cases[] = {
        {"", "SMITH", Said("CAN'T SAVE WITHOUT A LOAN NUMBER")},
        {"a1", "JONES", {"Loan number a1 is already on file", "KBLoan - cmd Save", Buttons::OK, Icon::Critical}},
    };
    for (const auto& [loanNbr, lastNm, message] : cases) {
        SCOPED_TRACE(message.text);
        dialogs.messages.clear();
        command("cmdAdd");
        type(0, loanNbr);
        type(1, lastNm);
        type(9, "1998 FORD");
        click("cmdSave");
        ASSERT_NE(screen(), nullptr);
        EXPECT_EQ(dialogs.messages, std::vector<Message>{message});
        EXPECT_EQ((std::vector<std::string>{text(0), text(1), text(9)}),
                  (std::vector<std::string>{loanNbr, lastNm, "1998 FORD"}));
        EXPECT_EQ(LoanTable(kb.LoanDB).readAll(LoanOrder::ById), before);
        click("cmdExit");
    }
}

// Loan D1 with two payments and a note, and loan E2 with one payment, which deleting D1 must not touch.
TEST_F(LoanScreenTest, DeleteAsksAndTakesTheLoanWithItsPaymentsAndNotes) {
    for (const char* loanNbr : {"D1", "E2"}) addLoan(loanNbr, "SMITH", "900.00");
    for (const auto& [loanNbr, date] : {std::pair{"D1", "01/05/2026"}, {"D1", "02/05/2026"}, {"E2", "01/05/2026"}})
        PaymentTable(kb.PmtsDB).add({PmtKey(loanNbr, date), date, "", "", "", "", "", {}, "", ""});
    NoteTable(kb.NotesDB).add({NoteKey("D1", 1), "01/05/2026", "Called", "", 1});

    command("cmdDelete", "D1");
    ASSERT_NE(screen(), nullptr);
    EXPECT_TRUE(screen()->findChild<QWidget*>("pbxLoan_1")->isVisible());
    EXPECT_TRUE(screen()->findChild<QPushButton*>("cmdOK")->hasFocus());
    // The loan's payments are listed, the newest also shown in the entry panel, which takes no input.
    EXPECT_EQ(screen()->findChild<QListWidget*>("lstPmts")->count(), 2);
    EXPECT_FALSE(screen()->findChild<QWidget*>("fraAddPmt")->isEnabled());
    EXPECT_EQ(screen()->findChild<QLineEdit*>("txtAddPmt_0")->text(), "02/05/2026");
    click("cmdCancel");
    EXPECT_EQ(screen(), nullptr);
    EXPECT_TRUE(stored("D1"));

    command("mnuDelete", "D1");
    click("cmdOK");
    EXPECT_FALSE(stored("D1"));
    EXPECT_TRUE(PaymentTable(kb.PmtsDB).readLoan("D1").empty() && NoteTable(kb.NotesDB).readLoan("D1").empty());
    EXPECT_EQ(PaymentTable(kb.PmtsDB).readLoan("E2").size(), 1u);
    EXPECT_EQ(listed(), std::vector<std::string>{"E2"});
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
