#pragma once
#include <array>
#include <string>
#include <string_view>

#include "store/records.h"

namespace kb {

// The 17 loan fields of the loan record screen, `txtLoan` 0 to 16, in tab order.
inline constexpr int kLoanFieldCount = 17;
inline constexpr int kLoanNbrField = 0;
inline constexpr int kLastNmField = 1;
inline constexpr int kStateField = 5;
inline constexpr int kLoanDTField = 10;
inline constexpr int kLoanAmtField = 11;
inline constexpr int kAPRField = 12;
inline constexpr int kPmtsPerYrField = 13;
inline constexpr int kNextPmtDTField = 14;
inline constexpr int kPaymentField = 15;
inline constexpr int kBalanceField = 16;

struct LoanFieldDef {
    const char* label;
    const char* inputClass;  // the letter ValidKey judges typed characters by
    int maxLength;
    const char* toolTip;  // empty: none
};

const std::array<LoanFieldDef, kLoanFieldCount>& LoanFieldDefs();

// The texts of the 17 fields, by field index.
using LoanTexts = std::array<std::string, kLoanFieldCount>;

// A loan as the screen shows it: the next due date as "mm/dd/yyyy", everything else as stored.
LoanTexts TextsOfLoan(const LoanRecord& loan);
// The loan the fields describe. Throws std::invalid_argument when the next due date is not a date.
LoanRecord LoanOfTexts(const LoanTexts& texts);

// A number as plain as it can be written: no grouping, no fixed decimals (1234.5, 9, 0, -12.25).
std::string GeneralNumber(double value);

// What a field shows when it gets the focus: the amounts and the APR as their plain number, so that they are
// edited without the decimals they were formatted with; other fields as they are.
std::string EnteringText(int field, std::string_view text);

// What a field shows when the focus leaves it: amounts with "#####0.00", the APR with "#0.000", the state in
// capitals; other fields as they are (dates go through CheckDate, which needs the screen).
std::string LeavingText(int field, std::string_view text);

// True when the balance field is to take the loan amount after `field` was left: always for the amount of a
// new loan, and for any amount field of a loan without payments whose balance differs from its amount. Once a
// payment exists only the payment operations move the balance.
bool BalanceTakesAmount(int field, std::string_view loanMode, bool hasPayments, std::string_view loanAmt,
                        std::string_view balance);

}  // namespace kb
