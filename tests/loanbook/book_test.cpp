#include "loanbook/book.h"

#include <gtest/gtest.h>

#include "loanbook/sqlite_book.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

using namespace std::chrono;

// Loan L1, 1000.00 at 12 % monthly from 11/01/2026, in the SQLite files of a temporary directory.
class BookTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        for (auto [path, table] : {std::pair{&kb.LoanDB, TableNumber::Loans}, {&kb.PmtsDB, TableNumber::Payments},
                                   {&kb.NotesDB, TableNumber::Notes}}) {
            *path = dir.file(std::to_string(static_cast<int>(table)) + ".mdb");
            CreateTableFile(*path, table);
        }
        ASSERT_EQ(book.saveLoan("", Fields("L1", "SMITH")), std::nullopt);
    }
    static LoanTexts Fields(const char* loanNbr, const char* lastNm) {
        LoanTexts fields{loanNbr, lastNm};
        fields[kLoanDTField] = "11/01/2026";
        fields[kAPRField] = "12.000";
        fields[kPmtsPerYrField] = "12";
        fields[kNextPmtDTField] = "12/01/2026";
        fields[kBalanceField] = "1000.00";
        return fields;
    }
    static EntryTexts Entry(const char* date, const char* amount) {
        return {date, amount, "", "1", "90.14", "9.86", "01/01/2027", "909.86", "CASH"};
    }

    test::TempDir dir;
};

TEST_F(BookTest, RefusedActionsChangeNothing) {
    const struct {
        const char* what;
        std::function<Refusal()> action;
        const char* refusal;
    } cases[] = {
        {"loan without number", [&] { return book.saveLoan("", Fields(" ", "JONES")); },
         "CAN'T SAVE WITHOUT A LOAN NUMBER"},
        {"loan without name", [&] { return book.saveLoan("L1", Fields("L1", "  ")); },
         "CAN'T SAVE WITHOUT A LAST NAME"},
        {"payment without date", [&] { return book.postPayment("L1", Entry("", "100.00"), clock.today()); },
         "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT"},
        {"note not on file", [&] { return book.deleteNote(NoteKey("L1", 7)); }, "RECORD NOT FOUND"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.action(), c.refusal) << c.what;
        EXPECT_EQ(book.loans(LoanOrder::ById).size(), 1u) << c.what;
        EXPECT_EQ(book.loan("L1")->LastNm, "SMITH") << c.what;
        EXPECT_TRUE(book.payments("L1").empty()) << c.what;
    }
}

TEST_F(BookTest, PaymentPostedAndTakenBackMovesTheLoanWithIt) {
    ASSERT_EQ(book.postPayment("L1", Entry("12/01/2026", "100.00"), clock.today()), std::nullopt);
    EXPECT_EQ(book.loan("l1 ")->Balance, "909.86");
    EXPECT_EQ(book.loan("L1")->NextPmtDT, year{2027} / 1 / 1);
    const PaymentRecord newest = book.payments("L1").back();

    EXPECT_EQ(book.takeBackPayment("L1", PmtKey("L1", "11/30/2026"), "12", "01/01/2027").message,
              "PAYMENT NOT FOUND - CAN'T DELETE");
    EXPECT_EQ(book.payments("L1").size(), 1u);
    const PaymentTakeBack back = book.takeBackPayment("L1", newest.LoanNbr, "12", "01/01/2027");
    EXPECT_EQ(back.message, "");
    EXPECT_TRUE(book.payments("L1").empty());
    EXPECT_EQ(book.loan("L1")->Balance, "1000.00");
    EXPECT_EQ(book.loan("L1")->NextPmtDT, year{2026} / 12 / 1);
}

}  // namespace
}  // namespace kb
