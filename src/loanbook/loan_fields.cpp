#include "loanbook/loan_fields.h"

#include <stdexcept>

#include "core/dates.h"
#include "core/format.h"

namespace kb {

namespace {

constexpr const char* kDateMask = "mm/dd/yyyy";
constexpr const char* kMoneyMask = "#####0.00";
constexpr const char* kAPRMask = "#0.000";
// Fifteen significant digits, the most a double renders faithfully; FormatNumber drops the unused decimals.
constexpr const char* kGeneralMask = "0.###############";

bool IsAmountField(int field) { return field == kLoanAmtField || field == kPaymentField || field == kBalanceField; }

}  // namespace

const std::array<LoanFieldDef, kLoanFieldCount>& LoanFieldDefs() {
    static const std::array<LoanFieldDef, kLoanFieldCount> defs = {{
        {"Loan Number", "K", 8, "Enter any Alfa-numeric Loan Number"},
        {"Last Name", "S", 15, "Enter Customer Last Name or Last Part of Company Name"},
        {"First Name", "S", 15, "Enter Customer First Name and Middle Initial or First Part of Company Name"},
        {"Street", "S", 30, "Enter Customer Street Address"},
        {"City", "S", 15, "Enter Customer City"},
        {"State", "S", 2, "Enter Customer State (Two Letter code)"},
        {"Zip", "S", 5, "Enter Customer Zip Code"},
        {"Home Phone", "S", 12, "Enter Customer Home Phone Number (###-###-####)"},
        {"Work Phone", "S", 12, "Enter Customer Work Phone Number (###-###-####)"},
        {"Collateral", "S", 40, "Enter Description of Collateral"},
        {"Date", "D", 10, "Enter Date of Loan (##/##/####)"},
        {"Loan Amount", "V", 10, "Enter Loan Amount"},
        {"APR", "V", 6, "Enter Loan APR"},
        {"Pmts/Yr", "N", 2, "Enter Number of Payments Per Year"},
        {"Next Pmt Due", "D", 10, "Enter Next Payment Due Date (##/##/####)"},
        {"Payment", "V", 10, "Enter Frequency Payment Amount"},
        {"Balance", "V", 10, ""},
    }};
    return defs;
}

LoanTexts TextsOfLoan(const LoanRecord& loan) {
    return {loan.LoanNbr, loan.LastNm,  loan.FirstMI, loan.Street,    loan.City,
            loan.State,   loan.Zip,     loan.Phone,   loan.WrkPhone,  loan.Collateral,
            loan.LoanDT,  loan.LoanAmt, loan.APR,     loan.PmtsPerYr, FormatDate(loan.NextPmtDT, kDateMask),
            loan.Payment, loan.Balance};
}

LoanRecord LoanOfTexts(const LoanTexts& texts) {
    LoanRecord loan;
    loan.LoanNbr = texts[0];
    loan.LastNm = texts[1];
    loan.FirstMI = texts[2];
    loan.Street = texts[3];
    loan.City = texts[4];
    loan.State = texts[5];
    loan.Zip = texts[6];
    loan.Phone = texts[7];
    loan.WrkPhone = texts[8];
    loan.Collateral = texts[9];
    loan.LoanDT = texts[10];
    loan.LoanAmt = texts[11];
    loan.APR = texts[12];
    loan.PmtsPerYr = texts[13];
    const std::string& due = texts[kNextPmtDTField];
    if (due.find_first_not_of(' ') != std::string::npos) {
        loan.NextPmtDT = ParseStoredDate(due);
        if (!loan.NextPmtDT) throw std::invalid_argument("Next payment date " + due + " is not a date");
    }
    loan.Payment = texts[15];
    loan.Balance = texts[16];
    return loan;
}

std::string GeneralNumber(double value) {
    std::string text = FormatNumber(value, kGeneralMask);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string EnteringText(int field, std::string_view text) {
    if (IsAmountField(field) || field == kAPRField) return GeneralNumber(NumVal(text));
    return std::string(text);
}

std::string LeavingText(int field, std::string_view text) {
    if (IsAmountField(field)) return FormatNumber(NumVal(text), kMoneyMask);
    if (field == kAPRField) return FormatNumber(NumVal(text), kAPRMask);
    std::string out(text);
    if (field == kStateField) {
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool BalanceTakesAmount(int field, std::string_view loanMode, bool hasPayments, std::string_view loanAmt,
                        std::string_view balance) {
    if (!IsAmountField(field)) return false;
    if (field == kLoanAmtField && loanMode == "A") return true;
    return !hasPayments && NumVal(loanAmt) != NumVal(balance);
}

}  // namespace kb
