#include "loanbook/book.h"

#include <gtest/gtest.h>

#include <memory>

#include "loanbook/sqlite_book.h"
#include "server/pg_book.h"
#include "support/doubles.h"
#include "support/temp_dir.h"
#include "support/test_server.h"

namespace kb {
namespace {

using namespace std::chrono;

enum class Kept { InFiles, OnServer };

// Every case runs on both books: the SQLite files of a temporary directory and a fresh database on the test
// server. Loan L1, 1000.00 at 12 % monthly from 11/01/2026, is on file, and L10, whose keys begin as L1's do.
class BookTest : public ::testing::TestWithParam<Kept>, protected test::Doubles {
protected:
    void SetUp() override {
        if (GetParam() == Kept::OnServer) {
            server.emplace();
            if (!server->settings) GTEST_SKIP() << server->unavailable;
            serverBook = std::make_unique<PgBook>(*server->settings);
            kb.book = serverBook.get();
        } else {
            for (auto [path, table] : {std::pair{&kb.LoanDB, TableNumber::Loans}, {&kb.PmtsDB, TableNumber::Payments},
                                       {&kb.NotesDB, TableNumber::Notes}}) {
                *path = dir.file(std::to_string(static_cast<int>(table)) + ".mdb");
                CreateTableFile(*path, table);
            }
        }
        ASSERT_EQ(shelf().saveLoan("", Fields("L1", "SMITH")), std::nullopt);
        ASSERT_EQ(shelf().saveLoan("", Fields("L10", "JONES")), std::nullopt);
    }
    // L10 as it was saved: nothing done to L1 touches it.
    void expectL10Untouched() {
        EXPECT_EQ(shelf().loan("L10")->Balance, "1000.00");
        EXPECT_TRUE(shelf().payments("L10").empty());
    }
    Book& shelf() { return *kb.book; }
    static LoanTexts Fields(const char* loanNbr, const char* lastNm, const char* firstMI = "",
                            const char* nextPmtDT = "12/01/2026") {
        LoanTexts fields{loanNbr, lastNm, firstMI};
        fields[kLoanDTField] = "11/01/2026";
        fields[kAPRField] = "12.000";
        fields[kPmtsPerYrField] = "12";
        fields[kNextPmtDTField] = nextPmtDT;
        fields[kBalanceField] = "1000.00";
        return fields;
    }
    static EntryTexts Entry(const char* date, const char* amount) {
        return {date, amount, "", "1", "90.14", "9.86", "01/01/2027", "909.86", "CASH"};
    }
    // What L1 shows before its first payment.
    static LoanShown AsOpened() { return {"1000.00", "12/01/2026", ""}; }
    // The refusal, or the store's failure in words.
    static Refusal Outcome(const std::function<Refusal()>& action) {
        try {
            return action();
        } catch (const StoreError& error) {
            return error.what();
        }
    }

    test::TempDir dir;
    std::optional<test::TestDatabase> server;
    std::unique_ptr<PgBook> serverBook;
};

TEST_P(BookTest, RefusedActionsChangeNothing) {
    const struct {
        const char* what;
        std::function<Refusal()> action;
        const char* refusal;
    } cases[] = {
        {"loan without number", [&] { return shelf().saveLoan("", Fields(" ", "JONES")); },
         "CAN'T SAVE WITHOUT A LOAN NUMBER"},
        {"loan without name", [&] { return shelf().saveLoan("L1", Fields("L1", "  ")); },
         "CAN'T SAVE WITHOUT A LAST NAME"},
        {"loan number taken, in another case", [&] { return shelf().saveLoan("", Fields("l1 ", "JONES")); },
         "Loan number l1 is already on file"},
        {"name too long", [&] { return shelf().saveLoan("", Fields("L2", "ABCDEFGHIJKLMNOP")); },
         "Last name holds at most 15 characters"},
        {"loan not on file", [&] { return shelf().saveLoan("L9", Fields("L9", "JONES")); },
         "Loan number L9 is not on file"},
        {"loan saved over a payment another desk posted",
         [&] { return shelf().saveLoan("L1", Fields("L1", "JONES"), LoanShown{"990.00", "12/01/2026", ""}); },
         kLoanChangedElsewhere},
        {"delete a loan not on file", [&] { return shelf().deleteLoan("L9"), Refusal(); },
         "Loan number L9 is not on file"},
        {"payment without date", [&] { return shelf().postPayment("L1", Entry("", "100.00"), clock.today(), AsOpened()); },
         "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT"},
        {"payment on a balance another desk moved",
         [&] { return shelf().postPayment("L1", Entry("12/01/2026", "100.00"), clock.today(), {"990.00", "12/01/2026", ""}); },
         kLoanChangedElsewhere},
        {"payment on a due date another desk moved",
         [&] { return shelf().postPayment("L1", Entry("12/01/2026", "100.00"), clock.today(), {"1000.00", "01/01/2027", ""}); },
         kLoanChangedElsewhere},
        {"payment over a newest payment another desk took back",
         [&] { return shelf().postPayment("L1", Entry("12/01/2026", "100.00"), clock.today(), {"1000.00", "12/01/2026", "L1      20261115"}); },
         kLoanChangedElsewhere},
        {"note not on file", [&] { return shelf().deleteNote(NoteKey("L1", 7)); }, "RECORD NOT FOUND"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome(c.action), c.refusal) << c.what;
        EXPECT_EQ(shelf().loans(LoanOrder::ById).size(), 2u) << c.what;
        EXPECT_EQ(shelf().loan("L1")->LastNm, "SMITH") << c.what;
        EXPECT_EQ(shelf().loan("L1")->Balance, "1000.00") << c.what;
        EXPECT_TRUE(shelf().payments("L1").empty()) << c.what;
    }
}

TEST_P(BookTest, PaymentPostedAndTakenBackMovesTheLoanWithIt) {
    ASSERT_EQ(shelf().postPayment("L1", Entry("12/01/2026", "100.00"), clock.today(), AsOpened()), std::nullopt);
    EXPECT_EQ(shelf().loan("l1 ")->Balance, "909.86");
    EXPECT_EQ(shelf().loan("L1")->NextPmtDT, year{2027} / 1 / 1);
    EXPECT_EQ(shelf().paymentsBetween(year{2026} / 12 / 1, year{2026} / 12 / 31).size(), 1u);
    EXPECT_TRUE(shelf().paymentsBetween(year{2026} / 12 / 2, year{2027} / 12 / 31).empty());
    const PaymentRecord newest = shelf().payments("L1").back();
    expectL10Untouched();

    const struct {
        const char* pmtKey;
        const char* nextPmtDTShown;
        const char* message;
    } refused[] = {
        {"L1      20261130", "01/01/2027", "PAYMENT NOT FOUND - CAN'T DELETE"},
        {"L1      20261201", "12/01/2026", kLoanChangedElsewhere},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(shelf().takeBackPayment("L1", r.pmtKey, "12", r.nextPmtDTShown, {{}, r.nextPmtDTShown, {}}).message, r.message) << r.pmtKey;
        EXPECT_EQ(shelf().payments("L1").size(), 1u) << r.pmtKey;
        EXPECT_EQ(shelf().loan("L1")->Balance, "909.86") << r.pmtKey;
    }
    const PaymentTakeBack back = shelf().takeBackPayment("L1", newest.LoanNbr, "12", "01/01/2027", {{}, "01/01/2027", {}});
    EXPECT_EQ(back.message, "");
    EXPECT_TRUE(shelf().payments("L1").empty());
    EXPECT_EQ(shelf().loan("L1")->Balance, "1000.00");
    EXPECT_EQ(shelf().loan("L1")->NextPmtDT, year{2026} / 12 / 1);
    expectL10Untouched();
}

TEST_P(BookTest, KeysAndOrdersIgnoreCaseAndTrailingBlanks) {
    ASSERT_EQ(shelf().saveLoan("", Fields("a10", "smith", "MARY", "11/01/2026")), std::nullopt);
    ASSERT_EQ(shelf().saveLoan("", Fields("A1 ", "Smith", "john", "")), std::nullopt);
    ASSERT_EQ(shelf().saveLoan("", Fields("B2", "ADAMS")), std::nullopt);
    ASSERT_EQ(shelf().postPayment("a10", Entry("12/01/2026", "100.00"), clock.today(), {"1000.00", "11/01/2026", ""}),
              std::nullopt);
    const struct {
        LoanOrder order;
        std::vector<std::string> loanNbrs;
    } orders[] = {
        {LoanOrder::ById, {"A1", "a10", "B2", "L1", "L10"}},
        {LoanOrder::ByName, {"B2", "L10", "L1", "A1", "a10"}},
        {LoanOrder::ByDueDate, {"A1", "B2", "L1", "L10", "a10"}},  // a10's payment moved it on to 01/01/2027
    };
    for (const auto& o : orders) {
        std::vector<std::string> listed;
        for (const LoanRecord& loan : shelf().loans(o.order)) listed.push_back(loan.LoanNbr);
        EXPECT_EQ(listed, o.loanNbrs) << static_cast<int>(o.order);
    }
    EXPECT_EQ(shelf().loan("a1  ")->LoanNbr, "A1");
    EXPECT_TRUE(shelf().payments("A1").empty());
    EXPECT_EQ(shelf().payments("A10 ").size(), 1u);
    EXPECT_EQ(shelf().payment("A10     20261201")->Amount, "100.00");
}

TEST_P(BookTest, DeletingALoanTakesItsPaymentsAndNotesAndNoNoteNumberComesTwice) {
    for (const char* loanNbr : {"L1", "L10"}) {
        ASSERT_EQ(shelf().postPayment(loanNbr, Entry("12/01/2026", "100.00"), clock.today(), AsOpened()), std::nullopt);
        const std::int64_t noteID = shelf().beginNote();
        ASSERT_EQ(shelf().saveNote({NoteKey(loanNbr, noteID), "12/02/2026", "CALLED", "no answer", noteID}, false),
                  std::nullopt);
    }
    const std::int64_t abandoned = shelf().beginNote();
    shelf().deleteLoan("l1");
    EXPECT_GT(shelf().beginNote(), abandoned);
    EXPECT_FALSE(shelf().loan("L1"));
    EXPECT_TRUE(shelf().payments("L1").empty());
    EXPECT_TRUE(shelf().notes("L1").empty());
    EXPECT_EQ(shelf().payments("L10").size(), 1u);
    ASSERT_EQ(shelf().notes("L10").size(), 1u);
    EXPECT_EQ(shelf().notes("L10").front().Subject, "CALLED");
}

INSTANTIATE_TEST_SUITE_P(BothBooks, BookTest, ::testing::Values(Kept::InFiles, Kept::OnServer),
                         [](const auto& info) { return info.param == Kept::InFiles ? "Files" : "Server"; });

}  // namespace
}  // namespace kb
