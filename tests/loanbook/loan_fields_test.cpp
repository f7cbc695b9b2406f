#include "loanbook/loan_fields.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kb {
namespace {

using namespace std::chrono;

TEST(LoanFieldsTest, FieldsAreEditedPlainAndLeftFormatted) {
    // The field, its text, the text shown on entering it and on leaving it.
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {kLoanAmtField, "1234.5", "1234.5", "1234.50"},  {kLoanAmtField, "", "0", "0.00"},
        {kPaymentField, "-12.345", "-12.345", "-12.35"}, {kBalanceField, "9999999.999", "9999999.999", "10000000.00"},
        {kAPRField, "9", "9", "9.000"},                  {kAPRField, "9.000", "9", "9.000"},
        {kStateField, "az", "az", "AZ"},                 {kLastNmField, "smith", "smith", "smith"},
        {kPmtsPerYrField, "012", "012", "012"},          {kLoanDTField, "3/5/2001", "3/5/2001", "3/5/2001"},
    };
    for (const auto& [field, text, entering, leaving] : cases) {
        EXPECT_EQ(EnteringText(field, text), entering) << field << " \"" << text << "\"";
        EXPECT_EQ(LeavingText(field, text), leaving) << field << " \"" << text << "\"";
    }
}

TEST(LoanFieldsTest, BalanceFollowsTheAmountUntilThereArePayments) {
    // The field left, the mode, whether the loan has payments, the loan amount and balance shown, and the answer.
    const std::tuple<int, const char*, bool, const char*, const char*, bool> cases[] = {
        {kLoanAmtField, "A", false, "100.00", "100.00", true}, {kLoanAmtField, "P", false, "100.00", "90.00", true},
        {kLoanAmtField, "P", false, "100.00", "100", false},  // same value, other text
        {kLoanAmtField, "P", true, "100.00", "90.00", false},  {kPaymentField, "P", false, "100.00", "", true},
        {kBalanceField, "P", false, "100.00", "90.00", true},  {kAPRField, "A", false, "100.00", "", false},
        {kLastNmField, "P", false, "100.00", "", false},
    };
    for (const auto& [field, mode, hasPayments, loanAmt, balance, takesAmount] : cases)
        EXPECT_EQ(BalanceTakesAmount(field, mode, hasPayments, loanAmt, balance), takesAmount)
            << field << " " << mode << (hasPayments ? " with payments" : "");
}

TEST(LoanFieldsTest, LoanAndFieldTextsConvertBothWays) {
    const LoanRecord loan{"A1",      "SMITH", "JOHN Q", "1 MAIN ST",        "ITHACA", "NY",
                          "14850",   "607-555-0100", "", "1998 FORD", "03/05/2026", "1234.50",
                          "9.000",   "12",    year{2026} / 4 / 5, "110.25", "1234.50"};
    const LoanTexts texts = TextsOfLoan(loan);
    EXPECT_EQ(texts[kNextPmtDTField], "04/05/2026");
    EXPECT_EQ(texts[kBalanceField], "1234.50");
    EXPECT_EQ(LoanOfTexts(texts), loan);

    LoanTexts due = texts;
    due[kNextPmtDTField] = "  ";
    EXPECT_EQ(LoanOfTexts(due).NextPmtDT, std::nullopt);
    due[kNextPmtDTField] = "02/30/2026";
    EXPECT_THROW(LoanOfTexts(due), std::invalid_argument);
}

}  // namespace
}  // namespace kb
