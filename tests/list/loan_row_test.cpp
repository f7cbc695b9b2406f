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
    const std::pair<LoanRecord, std::string> cases[] = {
        {Loan("A17", "SMITH  ", "JOHN Q", "1234.5", year{2026} / 3 / 5, "125"),
         "A17      SMITH, JOHN Q                      1,234.50 03/05/2026     125.00"},
        // The name is cut at 32 characters, the balance at the column's 10.
        {Loan("ABCDEFGH", "WORTHINGTON-SMYTHE", "MARGARET ELIZABETH", "12345678.9", year{2026} / 12 / 31, "0"),
         "ABCDEFGH WORTHINGTON-SMYTHE, MARGARET ELI 12,345,678 12/31/2026       0.00"},
        // Without a due date the date column is empty text: the row is ten characters shorter.
        {Loan("B2", "DOE", "", "", std::nullopt, "99.999"),
         "B2       DOE,                                   0.00      100.00"},
    };
    for (const auto& [loan, row] : cases) {
        EXPECT_EQ(LoanRow(loan), row);
    }
    EXPECT_EQ(LoanRow(cases[0].first).size(), 74u);
    EXPECT_EQ(LoanRow(cases[2].first).size(), 64u);
}

TEST(LoanRowTest, LoansWithoutNumberAreNotListed) {
    const std::vector<LoanRecord> loans = {Loan("", "GHOST", "", "1", std::nullopt, "1"),
                                           Loan("C3", "REAL", "", "1", std::nullopt, "1")};
    const auto rows = LoanRows(loans);
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
