#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "core/startup.h"
#include "loan/frmKBLoan.h"
#include "store/store.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace test {
void PrintTo(const ScriptedDialogs::Message& m, std::ostream* out);  // with the loan screen's tests
}  // namespace test

namespace {

using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;
using Texts = std::vector<std::string>;

// Loan L1: 1000.00 lent on 11/01/2026 at 12 %, monthly, first due 12/01/2026; opened on the loan record screen.
class PaymentsTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        clock.date = year{2026} / 12 / 1;
        ASSERT_TRUE(StartUp(kb));
        LoanRecord loan;
        loan.LoanNbr = "L1";
        loan.LastNm = "SMITH";
        loan.LoanDT = "11/01/2026";
        loan.LoanAmt = loan.Balance = "1000.00";
        loan.APR = "12.000";
        loan.PmtsPerYr = "12";
        loan.NextPmtDT = year{2026} / 12 / 1;
        loan.Payment = "100.00";
        LoanTable(kb.LoanDB).add(loan);
    }
    void TearDown() override {
        if (window) window->close();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void open(const char* mode = "P") {
        kb.LoanMode = mode;
        kb.CurLoanNbr = "L1";
        window = new frmKBLoan(kb);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    QLineEdit* entry(int index) const { return window->findChild<QLineEdit*>(QString("txtAddPmt_%1").arg(index)); }
    QLineEdit* loanField(int index) const {
        return window->findChild<QLineEdit*>(QString("txtLoan_%1").arg(index));
    }
    QListWidget* payments() const { return window->findChild<QListWidget*>("lstPmts"); }
    QWidget* panel() const { return window->findChild<QWidget*>("fraAddPmt"); }
    void click(const char* button) { QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton); }

    // Types into an entry field and leaves it for the Post button, which has no rules of its own on entering.
    void type(int index, const char* keys) {
        entry(index)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(entry(index), Qt::Key_Delete, Qt::AltModifier);
        QTest::keyClicks(entry(index), keys);
        window->findChild<QPushButton*>("cmdPost")->setFocus(Qt::TabFocusReason);
    }
    Texts entries() const {
        Texts texts;
        for (int i = 0; i < 9; ++i) texts.push_back(entry(i)->text().toStdString());
        return texts;
    }
    Texts rows() const {
        Texts texts;
        for (int i = 0; i < payments()->count(); ++i) texts.push_back(payments()->item(i)->text().toStdString());
        return texts;
    }
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

    LoanRecord storedLoan() const { return LoanTable(kb.LoanDB).find("L1").value(); }
    std::vector<PaymentRecord> storedPayments() const { return PaymentTable(kb.PmtsDB).readLoan("L1"); }
    static Message Said(const char* text, Buttons buttons = Buttons::OK) {
        return {text, "Kestrel-Book", buttons, Icon::None};
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
    QPointer<frmKBLoan> window;
};

TEST_F(PaymentsTest, PostedPaymentIsStoredWithTheLoanAndListedFirst) {
    open();
    click("cmdMkPmt");
    ASSERT_TRUE(panel()->isVisible());
    EXPECT_EQ(entries(), (Texts{"12/01/2026", "100.00", "", "1", "    90.14", "     9.86", "01/01/2027", "   909.86",
                                "CASH"}));
    EXPECT_TRUE(entry(0)->hasFocus());
    for (int i = 0; i < 17; ++i) EXPECT_FALSE(loanField(i)->isEnabled()) << i;
    for (const char* name : {"cmdSave", "cmdExit", "cmdMkPmt", "cmdNotes", "cmdPayOff"})
        EXPECT_FALSE(window->findChild<QPushButton*>(name)->isEnabled()) << name;
    EXPECT_FALSE(window->findChild<QWidget*>("fraPmtLst")->isEnabled());
    for (int computed : {4, 5, 7}) {
        QTest::mouseClick(entry(computed), Qt::LeftButton);
        EXPECT_FALSE(entry(computed)->hasFocus()) << computed;
    }

    dialogs.answerMessage(Answer::No);
    click("cmdPost");
    EXPECT_EQ(dialogs.messages, std::vector<Message>{Said("Print Payment Receipt", Buttons::YesNo)});
    const PaymentRecord expected{"L1      20261201", "12/01/2026", "100.00", "",        "1",
                                 "    90.14",        "     9.86",  year{2027} / 1 / 1, "   909.86", "CASH"};
    EXPECT_EQ(storedPayments(), std::vector<PaymentRecord>{expected});
    const LoanRecord loan = storedLoan();
    EXPECT_EQ(loan.Balance, "   909.86");
    EXPECT_EQ(loan.NextPmtDT, year{2027} / 1 / 1);
    EXPECT_EQ(loan.LoanAmt, "1000.00");
    EXPECT_EQ(loanField(14)->text(), "01/01/2027");
    EXPECT_EQ(loanField(16)->text(), "   909.86");
    EXPECT_EQ(rows(), Texts{"12/01/2026  CASH        100.00   0.00        9.86      90.14      909.86"});

    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(loanField(15)->isEnabled() && window->findChild<QWidget*>("fraPmtLst")->isEnabled());
    EXPECT_TRUE(loanField(1)->hasFocus());  // field 0 is the locked loan number
    click("cmdMkPmt");
    EXPECT_EQ(entries()[4], "   100.00");  // the panel opens anew: same day, no interest
}

TEST_F(PaymentsTest, EntryFieldsAreWorkedOutAgainWhenLeft) {
    open();
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
        {1, "260",
         {"11/16/2026", "260.00", "15.00", "2", "   240.07", "     4.93", "02/01/2027", "   759.93", "CASH"}},
        {8, "1234",
         {"11/16/2026", "260.00", "15.00", "2", "   240.07", "     4.93", "02/01/2027", "   759.93", "1234"}},
        {3, "0", {"11/16/2026", "260.00", "15.00", "0", "   240.07", "     4.93", "12/01/2026", "   759.93", "1234"}},
        // Before the loan date: refused and emptied, the split left as it was.
        {0, "10/31", {"", "260.00", "15.00", "0", "   240.07", "     4.93", "12/01/2026", "   759.93", "1234"}},
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
    EXPECT_EQ(storedLoan().Balance, "1000.00");
    EXPECT_TRUE(rows().empty());
}

TEST_F(PaymentsTest, RefusedPaymentIsNotStoredAndThePanelKeepsIt) {
    open();
    const struct {
        const char* date;
        const char* amount;
        const char* refusal;
    } cases[] = {
        {"12/02/2026", "100", "Can't Post with a Date Later Than Todays Date"},
        {"12/01/2026", "0", "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT"},
        {"", "100", "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.amount);
        dialogs.messages.clear();
        click("cmdMkPmt");
        type(0, c.date);
        type(1, c.amount);
        const Texts typed = entries();
        click("cmdPost");
        EXPECT_EQ(dialogs.messages, std::vector<Message>{Said(c.refusal)});
        EXPECT_TRUE(panel()->isVisible());
        EXPECT_EQ(entries(), typed);
        EXPECT_TRUE(storedPayments().empty());
        EXPECT_EQ(storedLoan().Balance, "1000.00");
        click("cmdClear");
    }
    EXPECT_TRUE(rows().empty());
}

TEST_F(PaymentsTest, SecondPaymentOnOneDateIsRefusedAndThePanelStaysOpen) {
    open();
    post();
    click("cmdMkPmt");
    type(1, "50");
    const Texts typed = entries();
    EXPECT_EQ(typed[5], "     0.00");  // the same day as the last payment
    dialogs.messages.clear();
    click("cmdPost");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              (Message{"Loan L1 already has a payment dated 12/01/2026", "KBLoan - cmd POST", Buttons::OK,
                       Icon::Critical}));
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(entries(), typed);
    EXPECT_EQ(storedPayments().size(), 1u);
    EXPECT_EQ(storedLoan().Balance, "   909.86");
    EXPECT_EQ(loanField(16)->text(), "   909.86");
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(PaymentsTest, TakingBackTheNewestPaymentsWindsTheLoanBack) {
    open();
    post();
    clock.date = year{2026} / 12 / 15;
    post();  // 14 days on 909.86
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(storedLoan().Balance, "   814.05");
    dialogs.messages.clear();

    takeBack(1, std::nullopt);  // only the newest row can be taken back: no question is asked
    takeBack(0, Answer::No);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(storedPayments().size(), 2u);
    EXPECT_EQ(storedLoan().Balance, "   814.05");
    dialogs.messages.clear();

    const struct {
        const char* balance;
        year_month_day due;
        const char* dueText;
        const char* nextInterest;  // of a payment entered next, on 12/15/2026
    } steps[] = {
        {"909.86", year{2027} / 1 / 1, "01/01/2027", "     4.19"},  // from the 12/01 payment
        {"1000.00", year{2026} / 12 / 1, "12/01/2026", "    14.47"},             // from the loan date, 44 days
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.balance);
        takeBack(0, Answer::Yes);
        EXPECT_EQ(rows().size(), storedPayments().size());
        EXPECT_EQ(storedLoan().Balance, step.balance);
        EXPECT_EQ(storedLoan().NextPmtDT, step.due);
        EXPECT_EQ(loanField(16)->text().toStdString(), step.balance);
        EXPECT_EQ(loanField(14)->text().toStdString(), step.dueText);
        click("cmdMkPmt");
        EXPECT_EQ(entries()[5], step.nextInterest);
        click("cmdClear");
    }
    EXPECT_TRUE(rows().empty());
    const Message asked = Said("ARE YOU SURE YOU WANT TO DELETE THE LAST PAYMENT MADE", Buttons::YesNo);
    EXPECT_EQ(dialogs.messages, (std::vector<Message>{asked, asked}));
}

TEST_F(PaymentsTest, PaymentWhoseRowMakesNoKeyIsNotFoundAndStays) {
    PaymentRecord odd;
    odd.LoanNbr = PmtKey("L1", "11/15/2026");
    odd.PmtDT = "11/15/26";  // stored by another program: the row's date is no longer mm/dd/yyyy
    PaymentTable(kb.PmtsDB).add(odd);
    open();
    takeBack(0, Answer::Yes);
    EXPECT_EQ(dialogs.messages.back(), Said("PAYMENT NOT FOUND - CAN'T DELETE"));
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(storedPayments().size(), 1u);
    EXPECT_EQ(storedLoan().Balance, "1000.00");
}

// A trigger refuses one statement of a book operation half-way through: nothing of the operation is stored.
TEST_F(PaymentsTest, FailureInsideABookOperationStoresNothing) {
    const struct {
        bool inLoans;
        const char* trigger;
        bool posting;
        const char* label;
    } cases[] = {
        {true, "BEFORE UPDATE ON KBLoan", true, "KBLoan - cmd POST"},
        {true, "BEFORE UPDATE ON KBLoan", false, "DELETE PMTS"},
        {false, "BEFORE DELETE ON KBPmts", false, "DELETE PMTS"},
    };
    open();
    post();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.trigger) + (c.posting ? " posting" : " taking back"));
        const std::string file = c.inLoans ? kb.LoanDB : kb.PmtsDB;
        SQLite::Database(file, SQLite::OPEN_READWRITE)
            .exec(std::string("CREATE TRIGGER refuse ") + c.trigger + " BEGIN SELECT RAISE(ABORT, 'locked'); END");
        const LoanRecord loan = storedLoan();
        const std::vector<PaymentRecord> stored = storedPayments();
        const Texts listed = rows();
        dialogs.messages.clear();

        clock.date = year{2026} / 12 / 20;
        if (c.posting) {
            click("cmdMkPmt");
            click("cmdPost");
        } else {
            takeBack(0, Answer::Yes);
        }
        EXPECT_EQ(storedLoan(), loan);
        EXPECT_EQ(storedPayments(), stored);
        EXPECT_EQ(rows(), listed);
        EXPECT_EQ(loanField(16)->text().toStdString(), loan.Balance);
        EXPECT_EQ(loanField(14)->text(), "01/01/2027");
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().title, c.label);
        EXPECT_EQ(dialogs.messages.back().icon, Icon::Critical);
        EXPECT_NE(dialogs.messages.back().text.find("locked"), std::string::npos) << dialogs.messages.back().text;
        EXPECT_EQ(panel()->isVisible(), c.posting);
        if (c.posting) click("cmdClear");
        SQLite::Database(file, SQLite::OPEN_READWRITE).exec("DROP TRIGGER refuse");
    }
}

TEST_F(PaymentsTest, ReceiptOfThePostedPaymentAndTheHistoryArePrinted) {
    kb.DealerNm = "KESTREL LENDING";
    open();
    click("cmdMkPmt");
    dialogs.answerMessage(Answer::Yes);
    dialogs.answerPrinter(PrinterChoice{"Office", "", false});
    dialogs.answerMessage(Answer::OK);
    click("cmdPost");
    EXPECT_TRUE(dialogs.allAnswered());
    const std::vector<Message> asked = {Said("Print Payment Receipt", Buttons::YesNo),
                                        Said("Insert Blank Sheet of Paper in Printer", Buttons::OKCancel)};
    EXPECT_EQ(dialogs.messages, asked);
    ASSERT_EQ(printing.pages.size(), 1u);
    const auto printed = [&](std::size_t page, const std::string& text) {
        for (const std::string& line : printing.pages[page])
            if (line.find(text) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(printed(0, "PAYMENT RECEIPT"));
    EXPECT_TRUE(printed(0, "KESTREL LENDING"));
    EXPECT_TRUE(printed(0, "909.86"));  // the balance after the payment just posted

    // The history prints the loan as the screen shows it, a change not yet saved included.
    loanField(3)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(loanField(3), "9 ELM ST");
    dialogs.answerPrinter(PrinterChoice{"Office", "", false});
    dialogs.answerMessage(Answer::OK);
    window->findChild<QAction*>("mnuHistory")->trigger();
    EXPECT_TRUE(dialogs.allAnswered());
    ASSERT_EQ(printing.pages.size(), 2u);
    EXPECT_TRUE(printed(1, "LOAN HISTORY"));
    EXPECT_TRUE(printed(1, "9 ELM ST"));
    EXPECT_TRUE(printed(1, "12/01/2026  CASH"));
}

TEST_F(PaymentsTest, PayOffButtonOpensThePayoffWindowOnTheLoansFigures) {
    open();
    click("cmdPayOff");
    QWidget* payOff = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmPayOff" && top->isVisible()) payOff = top;
    ASSERT_NE(payOff, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(payOff));
    EXPECT_FALSE(window->isEnabled());
    // 1000.00 at 12 % from the loan date, 11/01/2026, to 12/01/2026: 30 days.
    auto* date = payOff->findChild<QLineEdit*>("txtPODate");
    date->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(date, "12/01/2026");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(payOff->findChild<QLineEdit*>("txtPOAmt")->text(), "  1,009.86");
    payOff->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kb
