#include "loanbook/loan_fields.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kb {
namespace {

using namespace std::chrono;

TEST(LoanFieldsTest, FieldsAreEditedPlainAndLeftFormatted) {
    struct Case {
        int field;
        const char* text;
        const char* entering;
        const char* leaving;
    };
    const Case cases[] = {
        {kLoanAmtField, "1234.5", "1234.5", "1234.50"},
        {kLoanAmtField, "", "0", "0.00"},
        {kPaymentField, "-12.345", "-12.345", "-12.35"},
        {kBalanceField, "9999999.999", "9999999.999", "10000000.00"},
        {kAPRField, "9", "9", "9.000"},
        {kAPRField, "9.000", "9", "9.000"},
        {kStateField, "ny", "ny", "NY"},
        {kLastNmField, "smith", "smith", "smith"},
        {kPmtsPerYrField, "012", "012", "012"},
        {kLoanDTField, "3/5/2001", "3/5/2001", "3/5/2001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " \"" + c.text + "\"");
        EXPECT_EQ(EnteringText(c.field, c.text), c.entering);
        EXPECT_EQ(LeavingText(c.field, c.text), c.leaving);
    }
}

TEST(LoanFieldsTest, BalanceFollowsTheAmountUntilThereArePayments) {
    struct Case {
        int field;
        const char* mode;
        bool hasPayments;
        const char* loanAmt;
        const char* balance;
        bool takesAmount;
    };
    const Case cases[] = {
        {kLoanAmtField, "A", false, "100.00", "100.00", true},
        {kLoanAmtField, "P", false, "100.00", "90.00", true},
        {kLoanAmtField, "P", false, "100.00", "100", false},  // same value, other text
        {kLoanAmtField, "P", true, "100.00", "90.00", false},
        {kPaymentField, "P", false, "100.00", "", true},
        {kBalanceField, "P", false, "100.00", "90.00", true},
        {kAPRField, "A", false, "100.00", "", false},
        {kLastNmField, "P", false, "100.00", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.mode + (c.hasPayments ? " with payments" : ""));
        EXPECT_EQ(BalanceTakesAmount(c.field, c.mode, c.hasPayments, c.loanAmt, c.balance), c.takesAmount);
    }
}

TEST(LoanFieldsTest, LoanAndFieldTextsConvertBothWays) {
    const LoanRecord loan{"A1",         "SMITH",   "JOHN Q",       "1 MAIN ST", "ITHACA",
                          "NY",         "14850",   "607-555-0100", "",          "1998 FORD",
                          "03/05/2026", "1234.50", "9.000",        "12",        year{2026} / 4 / 5,
                          "110.25",     "1234.50"};
    const LoanTexts texts = TextsOfLoan(loan);
    EXPECT_EQ(texts[kNextPmtDTField], "04/05/2026");
    EXPECT_EQ(texts[kBalanceField], "1234.50");
    EXPECT_EQ(LoanOfTexts(texts), loan);

    LoanTexts blankDue = texts;
    blankDue[kNextPmtDTField] = "  ";
    EXPECT_EQ(LoanOfTexts(blankDue).NextPmtDT, std::nullopt);
    LoanTexts badDue = texts;
    badDue[kNextPmtDTField] = "02/30/2026";
    EXPECT_THROW(LoanOfTexts(badDue), std::invalid_argument);
}

}  // namespace
}  // namespace kb
