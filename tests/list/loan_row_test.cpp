#include "list/loan_row.h"

#include <gtest/gtest.h>

#include "reports/book_test_data.h"

namespace kb {
namespace {

using namespace std::chrono;
using test::Loan;

TEST(LoanRowTest, ColumnsAreFixed) {
    const std::tuple<LoanRecord, std::string, std::string> cases[] = {
        {Loan("A17", "JOHN Q", "SMITH  ", year{2026} / 3 / 5, "1234.5", "125"),
         "A17      SMITH, JOHN Q                      1,234.50 03/05/2026     125.00", ""},
        // The name is cut at 32 characters, the balance at the column's 10.
        {Loan("ABCDEFGH", "MARGARET ELIZABETH", "WORTHINGTON-SMYTHE", year{2026} / 12 / 31, "12345678.9", "0"),
         "ABCDEFGH WORTHINGTON-SMYTHE, MARGARET ELI 12,345,678 12/31/2026       0.00", ""},
        // Without a due date the date column is empty text: the row is ten characters shorter.
        {Loan("B2", "", "DOE", std::nullopt, "", "99.999"),
         "B2       DOE,                                   0.00      100.00", ""},
        // A balance too long to be read as a number leaves its column blank, and is named.
        {Loan("A1001", "JANE", "DOE", year{2026} / 3 / 5, std::string(400, '9'), "125"),
         "A1001    DOE, JANE" + std::string(34, ' ') + " 03/05/2026     125.00", "LOAN A1001: Balance - Overflow"},
    };
    for (const auto& [loan, row, failure] : cases) {
        FigureReader figures;
        EXPECT_EQ(LoanRow(loan, figures), row);
        EXPECT_EQ(figures.failure(), failure);
    }
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
