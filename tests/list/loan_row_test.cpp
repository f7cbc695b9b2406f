#include "list/loan_row.h"

#include <gtest/gtest.h>

namespace kb {
namespace {

using namespace std::chrono;

LoanRecord Loan(std::string number, std::string last, std::string first, std::string balance,
                std::optional<Date> due, std::string payment) {
    LoanRecord loan;
    loan.LoanNbr = std::move(number);
    loan.LastNm = std::move(last);
    loan.FirstMI = std::move(first);
    loan.Balance = std::move(balance);
    loan.NextPmtDT = due;
    loan.Payment = std::move(payment);
    return loan;
}

TEST(LoanRowTest, ColumnsAreFixed) {
    struct Case {
        LoanRecord loan;
        std::string row;
        std::string failure = {};
    };
    const Case cases[] = {
        {Loan("A17", "SMITH  ", "JOHN Q", "1234.5", year{2026} / 3 / 5, "125"),
         "A17      SMITH, JOHN Q                      1,234.50 03/05/2026     125.00"},
        // The name is cut at 32 characters, the balance at the column's 10.
        {Loan("ABCDEFGH", "WORTHINGTON-SMYTHE", "MARGARET ELIZABETH", "12345678.9", year{2026} / 12 / 31, "0"),
         "ABCDEFGH WORTHINGTON-SMYTHE, MARGARET ELI 12,345,678 12/31/2026       0.00"},
        // Without a due date the date column is empty text: the row is ten characters shorter.
        {Loan("B2", "DOE", "", "", std::nullopt, "99.999"),
         "B2       DOE,                                   0.00      100.00"},
        // A balance too long to be read as a number leaves its column blank, and is named.
        {Loan("A1001", "DOE", "JANE", std::string(400, '9'), year{2026} / 3 / 5, "125"),
         "A1001    DOE, JANE" + std::string(23, ' ') + " " + std::string(10, ' ') + " 03/05/2026     125.00",
         "LOAN A1001: Balance - Overflow"},
    };
    for (const Case& c : cases) {
        FigureReader figures;
        EXPECT_EQ(LoanRow(c.loan, figures), c.row);
        EXPECT_EQ(figures.failure(), c.failure);
    }
    EXPECT_EQ(cases[0].row.size(), 74u);
    EXPECT_EQ(cases[2].row.size(), 64u);
}

TEST(LoanRowTest, LoansWithoutNumberAreNotListed) {
    const std::vector<LoanRecord> loans = {Loan("", "GHOST", "", "1", std::nullopt, "1"),
                                           Loan("C3", "REAL", "", "1", std::nullopt, "1")};
    FigureReader figures;
    const auto rows = LoanRows(loans, figures);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].substr(0, 8), "C3      ");
}

TEST(LoanRowTest, SortLabelChoosesTheOrderByItsFirstSevenCharacters) {
    EXPECT_EQ(SortOrderOf(kIdSortLabel), LoanOrder::ById);
    EXPECT_EQ(SortOrderOf(kNameSortLabel), LoanOrder::ByName);
    EXPECT_EQ(SortOrderOf(kDateSortLabel), LoanOrder::ByDueDate);
    EXPECT_EQ(SortOrderOf("LOAN-NA"), LoanOrder::ByName);
    EXPECT_EQ(SortOrderOf(""), LoanOrder::ById);
}

}  // namespace
}  // namespace kb
