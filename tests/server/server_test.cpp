#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "core/format.h"
#include "server/book_copy.h"
#include "server/pg_book.h"
#include "support/temp_dir.h"
#include "support/test_server.h"

namespace kb {
namespace {

using namespace std::chrono;

TEST(ServerSettingsTest, ReadsNamedValuesAndSaysWhatIsWrong) {
    const struct {
        const char* text;
        ServerSettings settings;
        const char* error;
    } cases[] = {
        {"# the shared book\nhost = db1\nport= 5433 \ndatabase =kestrel\nuser = desk1\n", {"db1", "5433", "kestrel", "desk1"},
         ""},
        {"host=/tmp/kb database=book", {"/tmp/kb", "5432", "book", ""}, ""},
        {"host = db1\ndatabase = kestrel\npassword = secret", {}, "KB_SERVER.CFG: there is no setting \"password\" "
                                                                  "(host, port, database and user are)"},
        {"host db1", {}, "KB_SERVER.CFG: \"host\" is not of the form name = value"},
        {"host = db1", {}, "KB_SERVER.CFG must name the host and the database of the book server"},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(ParseServerSettings(c.text), c.settings) << c.text;
            EXPECT_STREQ("", c.error) << c.text;
        } catch (const StoreError& error) {
            EXPECT_STREQ(error.what(), c.error) << c.text;
        }
    }
}

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.settings) GTEST_SKIP() << server.unavailable;
    }
    test::TestDatabase server;
};

LoanRecord Loan(const char* loanNbr, const char* balance) {
    LoanRecord loan;
    loan.LoanNbr = loanNbr;
    loan.LastNm = "M\xC3\xBCLLER";
    loan.PmtsPerYr = "12";
    loan.NextPmtDT = year{2030} / 1 / 1;
    loan.Balance = balance;
    return loan;
}

// Two desks post payments of 10.00 on the same three loans and take the newest back, each from what its screen
// last read, as fast as they can. Whatever the interleaving, every payment that was accepted is on file, none
// that was refused, each took its 10.00 and its month off the loan, and each loan's Balance and NextPmtDT are
// those of its newest payment.
TEST_F(ServerTest, TwoDesksOnTheSameLoansKeepEachLoanInStepWithItsNewestPayment) {
    const std::vector<std::string> loanNbrs{"L1", "L2", "L3"};
    const LoanRecord opened = Loan("", "100000.00");
    BookContents start;
    for (const std::string& loanNbr : loanNbrs) start.loans.push_back(Loan(loanNbr.c_str(), "100000.00"));
    PgBook(*server.settings).loadEmptyBook(start);

    std::atomic<int> kept{0};
    const auto desk = [&](unsigned seed) {
        PgBook book(*server.settings);
        std::mt19937 random(seed);
        for (int i = 0; i < 1500; ++i) {
            const std::string& loanNbr = loanNbrs[random() % loanNbrs.size()];
            const LoanRecord loan = book.loan(loanNbr).value();
            const std::vector<PaymentRecord> payments = book.payments(loanNbr);
            const std::string nextPmtDT = FormatDate(loan.NextPmtDT, "mm/dd/yyyy");
            const std::string newest = payments.empty() ? std::string() : payments.back().LoanNbr;
            try {  // a refusal, or the other desk's payment of the same day first, keeps nothing
                if (!payments.empty() && random() % 3 == 0) {
                    if (book.takeBackPayment(loanNbr, newest, "12", nextPmtDT, {{}, nextPmtDT, {}}).message.empty())
                        --kept;
                    continue;
                }
                // Each desk its own day after the newest, so that the two payments seldom meet on one key.
                const Date paid = AddDays(newest.empty() ? year{2027} / 1 / 1 : *ParseStoredDate(payments.back().PmtDT), seed);
                const EntryTexts entry{FormatDate(paid, "mm/dd/yyyy"), "10.00", "", "1", "10.00", "0.00",
                                       FormatDate(AddMonths(*loan.NextPmtDT, 1), "mm/dd/yyyy"),
                                       FormatNumber(NumVal(loan.Balance) - 10.0, "#0.00"), "CASH"};
                if (!book.postPayment(loanNbr, entry, year{2100} / 1 / 1, {loan.Balance, nextPmtDT, newest})) ++kept;
            } catch (const StoreError&) {
            }
        }
    };
    std::thread first(desk, 1u), second(desk, 2u);
    first.join();
    second.join();

    PgBook book(*server.settings);
    long onFile = 0;
    for (const std::string& loanNbr : loanNbrs) {
        const LoanRecord loan = book.loan(loanNbr).value();
        const std::vector<PaymentRecord> payments = book.payments(loanNbr);
        const long count = static_cast<long>(payments.size());
        onFile += count;
        EXPECT_EQ(NumVal(loan.Balance), 100000.0 - 10.0 * count) << loanNbr;
        EXPECT_EQ(loan.NextPmtDT, AddMonths(*opened.NextPmtDT, count)) << loanNbr;
        if (count > 0) {
            EXPECT_EQ(std::tie(loan.Balance, loan.NextPmtDT), std::tie(payments.back().Balance, payments.back().NextPmtDT));
        }
    }
    EXPECT_EQ(onFile, kept.load());
    EXPECT_GT(onFile, 0);
}

// Values that a copy could bend: blanks at the end, tabs, backslashes and line breaks, letters beyond ASCII, empty
// texts, a missing date, a note number far past the others.
BookContents AwkwardBook() {
    BookContents book;
    book.loans = {Loan("A1", "1234.56"), Loan("a10", "0.01")};
    book.loans[1].NextPmtDT.reset();
    book.loans[1].Collateral = "TRUCK\tBLUE \\ 4WD ";
    PaymentRecord payment{"A1      20270101", "01/01/2027", "100.00", "", "1", "90.00", "10.00",
                          year{2027} / 2 / 1, "1144.56", "CASH"};
    book.payments = {payment};
    payment.LoanNbr = "A1      20270201";
    payment.PmtDT = "02/01/2027";
    book.payments.push_back(payment);
    book.notes = {{"A1      0007", "01/02/2027", "PROMISED", "Will pay\r\nnext week \\ maybe", 7}};
    book.notesHandedOut = 41;
    return book;
}

TEST_F(ServerTest, ABookCopiedToTheServerAndBackIsEqualFieldForField) {
    const test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "before");
    const BookFiles before = BookFilesIn((dir.path() / "before").string());
    const BookFiles after = BookFilesIn((dir.path() / "after").string());
    std::filesystem::create_directories(dir.path() / "after");
    for (const auto& [path, table] : {std::pair{&before.loanDB, TableNumber::Loans},
                                      {&before.pmtsDB, TableNumber::Payments}, {&before.notesDB, TableNumber::Notes}}) {
        CreateTableFile(*path, table);
    }
    LoadEmptyBook(before, AwkwardBook());

    const BookCopy there = CopyFilesToServer(before, *server.settings);
    EXPECT_TRUE(there.agrees()) << CopyReport(there);
    EXPECT_EQ(there.copy, (BookFigures{2, 2, 1, Currency::FromDouble(1234.57), Currency::FromDouble(200.0)}));
    EXPECT_THROW(CopyFilesToServer(before, *server.settings), StoreError);  // only into an empty database
    EXPECT_GT(PgBook(*server.settings).beginNote(), 41);
    const BookCopy back = CopyServerToFiles(*server.settings, after);
    EXPECT_TRUE(back.agrees()) << CopyReport(back);

    const BookContents original = ReadBook(before);
    const BookContents copy = ReadBook(after);
    EXPECT_EQ(copy.loans, original.loans);
    EXPECT_EQ(copy.payments, original.payments);
    EXPECT_EQ(copy.notes, original.notes);
    EXPECT_GT(copy.notesHandedOut, original.notesHandedOut);  // the number begun above is handed out for good
}

}  // namespace
}  // namespace kb
