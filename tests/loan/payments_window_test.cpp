#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <optional>

#include "loan/frmKBLoan.h"
#include "support/desktop.h"
#include "support/window_test.h"

namespace kb {
namespace {

using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;
using Texts = std::vector<std::string>;

// Loan L1: 1000.00 lent on 11/01/2026 at 12 %, monthly, first due 12/01/2026; opened on the loan record screen.
class PaymentsTest : public test::WindowTest {
protected:
    void SetUp() override {
        clock.date = year{2026} / 12 / 1;
        WindowTest::SetUp();
        addLoan({"L1", "SMITH", "", "", "", "", "", "", "", "", "11/01/2026", "1000.00", "12.000", "12",
                 year{2026} / 12 / 1, "100.00", "1000.00"});
        kb.LoanMode = "P";
        kb.CurLoanNbr = "L1";
        window = new frmKBLoan(kb);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    QLineEdit* entry(int index) const { return window->findChild<QLineEdit*>(QString("txtAddPmt_%1").arg(index)); }
    QLineEdit* loanField(int index) const { return window->findChild<QLineEdit*>(QString("txtLoan_%1").arg(index)); }
    QListWidget* payments() const { return window->findChild<QListWidget*>("lstPmts"); }
    QWidget* panel() const { return window->findChild<QWidget*>("fraAddPmt"); }
    void click(const char* button) { Click(window, button); }

    // Types into an entry field and leaves it for the Post button, which has no rules of its own on entering.
    void type(int index, const char* keys) {
        TypeOver(entry(index), keys);
        window->findChild<QPushButton*>("cmdPost")->setFocus(Qt::TabFocusReason);
    }
    Texts entries() const {
        Texts texts;
        for (int i = 0; i < 9; ++i) texts.push_back(entry(i)->text().toStdString());
        return texts;
    }
    Texts rows() const { return Rows(payments()); }
    // The payment as the panel proposes it, posted without a receipt.
    void post() {
        click("cmdMkPmt");
        dialogs.answerMessage(Answer::No);
        click("cmdPost");
    }
    // Delete on a row of the payment list; `answer` to the question, when one is expected.
    void takeBack(int row, std::optional<Answer> answer) {
        if (answer) dialogs.answerMessage(*answer);
        payments()->setCurrentRow(row);
        payments()->setFocus();
        QTest::keyClick(payments(), Qt::Key_Delete);
    }
    bool printed(std::size_t page, const std::string& text) const {
        for (const std::string& line : printing.pages.at(page))
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    LoanRecord storedLoan() const { return LoanTable(kb.LoanDB).find("L1").value(); }
    std::vector<PaymentRecord> storedPayments() const { return PaymentTable(kb.PmtsDB).readLoan("L1"); }
    Texts shownLoan() const { return {loanField(14)->text().toStdString(), loanField(16)->text().toStdString()}; }

    QPointer<frmKBLoan> window;
};

// On a desktop whose language writes a decimal comma: every figure stays as it is anywhere else.
TEST_F(PaymentsTest, PostedPaymentIsStoredWithTheLoanListedFirstAndItsReceiptPrinted) {
    const test::DecimalCommaLanguage germanDesktop;
    kb.DealerNm = "KESTREL LENDING";
    click("cmdMkPmt");
    ASSERT_TRUE(panel()->isVisible());
    EXPECT_EQ(entries(), (Texts{"12/01/2026", "100.00", "", "1", "    90.14", "     9.86", "01/01/2027", "   909.86",
                                "CASH"}));
    EXPECT_TRUE(entry(0)->hasFocus());
    // While the panel is open the loan is locked and the computed fields take no focus.
    EXPECT_FALSE(loanField(11)->isEnabled() || window->findChild<QPushButton*>("cmdSave")->isEnabled() ||
                 window->findChild<QWidget*>("fraPmtLst")->isEnabled());
    for (int computed : {4, 5, 7}) {
        QTest::mouseClick(entry(computed), Qt::LeftButton);
        EXPECT_FALSE(entry(computed)->hasFocus()) << computed;
    }

    dialogs.answerMessage(Answer::Yes);
    dialogs.answerPrinter(PrinterChoice{"Office", "", false});
    dialogs.answerMessage(Answer::OK);
    click("cmdPost");
    const Message paper = Said("Insert Blank Sheet of Paper in Printer", Buttons::OKCancel);
    EXPECT_EQ(dialogs.messages, (std::vector<Message>{Said("Print Payment Receipt", Buttons::YesNo), paper}));
    const PaymentRecord expected{"L1      20261201", "12/01/2026", "100.00", "",        "1",
                                 "    90.14",        "     9.86",  year{2027} / 1 / 1, "   909.86", "CASH"};
    EXPECT_EQ(storedPayments(), std::vector<PaymentRecord>{expected});
    EXPECT_EQ(storedLoan().Balance, "   909.86");
    EXPECT_EQ(storedLoan().NextPmtDT, year{2027} / 1 / 1);
    EXPECT_EQ(shownLoan(), (Texts{"01/01/2027", "   909.86"}));
    EXPECT_EQ(rows(), Texts{"12/01/2026  CASH        100.00   0.00        9.86      90.14      909.86"});
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(loanField(15)->isEnabled() && window->findChild<QWidget*>("fraPmtLst")->isEnabled());
    EXPECT_TRUE(loanField(1)->hasFocus());  // field 0 is the locked loan number
    ASSERT_EQ(printing.pages.size(), 1u);
    // The receipt's balance is the one after the payment just posted.
    EXPECT_TRUE(printed(0, "PAYMENT RECEIPT") && printed(0, "KESTREL LENDING") && printed(0, "909.86"));

    // The history prints the loan as the screen shows it, a change not yet saved included.
    loanField(3)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(loanField(3), "9 ELM ST");
    dialogs.answerPrinter(PrinterChoice{"Office", "", false});
    dialogs.answerMessage(Answer::OK);
    window->findChild<QAction*>("mnuHistory")->trigger();
    EXPECT_TRUE(dialogs.allAnswered());
    ASSERT_EQ(printing.pages.size(), 2u);
    EXPECT_TRUE(printed(1, "LOAN HISTORY") && printed(1, "9 ELM ST") && printed(1, "12/01/2026  CASH"));
}

TEST_F(PaymentsTest, EntryFieldsAreWorkedOutAgainWhenLeft) {
    click("cmdMkPmt");
    const struct {
        int field;
        const char* typed;
        Texts shown;
    } steps[] = {
        // The amounts move the split and the due date.
        {1, "250", {"12/01/2026", "250.00", "", "1", "   240.14", "     9.86", "01/01/2027", "   759.86", "CASH"}},
        {2, "15", {"12/01/2026", "250.00", "15.00", "1", "   225.14", "     9.86", "01/01/2027", "   774.86", "CASH"}},
        // The number of payments moves only the due date; a typed due date stays until it is worked out again.
        {3, "2", {"12/01/2026", "250.00", "15.00", "2", "   225.14", "     9.86", "02/01/2027", "   774.86", "CASH"}},
        {6, "3/15/27",
         {"12/01/2026", "250.00", "15.00", "2", "   225.14", "     9.86", "03/15/2027", "   774.86", "CASH"}},
        // The date moves only the interest: 15 days.
        {0, "11/16",
         {"11/16/2026", "250.00", "15.00", "2", "   230.07", "     4.93", "03/15/2027", "   769.93", "CASH"}},
        // Before the loan date: refused and emptied, the split left as it was.
        {0, "10/31", {"", "250.00", "15.00", "2", "   230.07", "     4.93", "03/15/2027", "   769.93", "CASH"}},
    };
    for (const auto& step : steps) {
        type(step.field, step.typed);
        EXPECT_EQ(entries(), step.shown) << step.field << " " << step.typed;
    }
    EXPECT_EQ(dialogs.messages, std::vector<Message>{Said("CAN'T POST A BACK PAYMENT")});

    click("cmdClear");
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(loanField(15)->isEnabled());
    EXPECT_TRUE(storedPayments().empty());
}

// The panel opens with the caret at the start of the date, so a date typed at once replaces the proposed one; a
// click on an empty spot of the loan panel goes back to the work under way.
TEST_F(PaymentsTest, EntryTakesTypingAtOnceAndPanelClicksMoveTheFocus) {
    const auto clickLoanPanel = [&] {
        QTest::mouseClick(window->findChild<QWidget*>("pbxLoan_0"), Qt::LeftButton, {}, QPoint(3, 3));
    };
    click("cmdMkPmt");
    test::Type(entry(0), "11/30/2026");
    EXPECT_EQ(entry(0)->text(), "11/30/2026");
    entry(1)->setFocus(Qt::TabFocusReason);
    clickLoanPanel();
    EXPECT_TRUE(entry(0)->hasFocus());
    click("cmdClear");
    clickLoanPanel();
    EXPECT_TRUE(loanField(1)->hasFocus());  // field 0 is the locked loan number
}

// Refused, or failed half-way because a trigger refuses one write of the book operation, posting or taking back
// changes nothing: neither the files, nor the payment list, nor the loan on the screen.
TEST_F(PaymentsTest, RefusedOrFailedOperationChangesNothing) {
    post();
    clock.date = year{2026} / 12 / 20;
    const LoanRecord loan = storedLoan();
    const std::vector<PaymentRecord> stored = storedPayments();
    const Texts listed = rows();
    const struct {
        const char* date;  // of the payment posted; none: the newest payment is taken back
        const char* amount;
        const char* refused;  // the write a trigger refuses
        Message said;
    } cases[] = {
        {"12/21/2026", "100", nullptr, Said("Can't Post with a Date Later Than Todays Date")},
        {"12/20/2026", "100", "UPDATE ON KBLoan", Failed("KB_Loan.mdb: locked", "KBLoan - cmd POST")},
        {nullptr, nullptr, "UPDATE ON KBLoan", Failed("KB_Loan.mdb: locked", "DELETE PMTS")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said.title + ": " + c.said.text);
        const std::string refused = c.refused ? c.refused : "";
        const std::string file = refused.ends_with("KBPmts") ? kb.PmtsDB : kb.LoanDB;
        if (c.refused)
            SQLite::Database(file, SQLite::OPEN_READWRITE)
                .exec("CREATE TRIGGER refuse BEFORE " + refused + " BEGIN SELECT RAISE(ABORT, 'locked'); END");
        dialogs.messages.clear();
        Texts typed;
        if (c.date) {
            click("cmdMkPmt");
            type(0, c.date);
            type(1, c.amount);
            typed = entries();
            click("cmdPost");
        } else {
            takeBack(0, Answer::Yes);
        }
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back(), c.said);
        EXPECT_EQ(storedLoan(), loan);
        EXPECT_EQ(storedPayments(), stored);
        EXPECT_EQ(rows(), listed);
        EXPECT_EQ(shownLoan(), (Texts{"01/01/2027", "   909.86"}));
        EXPECT_EQ(panel()->isVisible(), c.date != nullptr);
        if (c.date) {
            EXPECT_EQ(entries(), typed);
            click("cmdClear");
        }
        if (c.refused) SQLite::Database(file, SQLite::OPEN_READWRITE).exec("DROP TRIGGER refuse");
    }
}

// The lender's own due date, typed but not saved, is no change made at another desk: posting, taking back and saving
// go ahead.
TEST_F(PaymentsTest, AnEditedDueDateNotYetSavedStopsNothing) {
    TypeOver(loanField(14), "12/15/2026");
    post();
    takeBack(0, Answer::Yes);
    click("cmdSave");
    for (const Message& said : dialogs.messages) EXPECT_NE(said.text, kLoanChangedElsewhere);
    EXPECT_EQ(dialogs.messages.size(), 2u);  // the receipt and the take-back questions
    EXPECT_TRUE(storedPayments().empty());
}

// Only the newest row can be taken back: Delete on another asks nothing. Taken back, the payment's balance and due
// date go back to the loan, and the next payment is worked out from the payment before it.
TEST_F(PaymentsTest, TakingBackTheNewestPaymentWindsTheLoanBack) {
    post();
    clock.date = year{2026} / 12 / 15;
    post();  // 14 days on 909.86
    dialogs.messages.clear();
    takeBack(1, std::nullopt);
    takeBack(0, Answer::No);
    EXPECT_EQ(storedLoan().Balance, "   814.05");
    takeBack(0, Answer::Yes);
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(storedPayments().size(), 1u);
    EXPECT_EQ(std::tuple(storedLoan().Balance, storedLoan().NextPmtDT), std::tuple("909.86", year{2027} / 1 / 1));
    EXPECT_EQ(shownLoan(), (Texts{"01/01/2027", "909.86"}));
    click("cmdMkPmt");
    EXPECT_EQ(entries()[5], "     4.19");
    const Message asked = Said("ARE YOU SURE YOU WANT TO DELETE THE LAST PAYMENT MADE", Buttons::YesNo);
    EXPECT_EQ(dialogs.messages, (std::vector<Message>{asked, asked}));
}

TEST_F(PaymentsTest, PayOffButtonOpensThePayoffWindowOnTheLoansFigures) {
    click("cmdPayOff");
    QWidget* payOff = Shown("frmPayOff");
    ASSERT_NE(payOff, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(payOff));
    EXPECT_FALSE(window->isEnabled());
    payOff->close();
    Settle();
    EXPECT_TRUE(window->isEnabled());
}

}  // namespace
}  // namespace kb
