#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "loanbook/loan_fields.h"
#include "reports/page_lines.h"

namespace kb {

// The parts that the loan history and the payment receipt print alike, from the loan fields' texts.

// A loan field's numeric reading through a number mask, right-justified in the mask's length.
std::string FieldUsing(std::string_view text, std::string_view mask);

// "Customer: " at column 6: the first name without its trailing blanks, one blank, the last name as it is.
PrintLine CustomerLine(const LoanTexts& fields);

// "Address: " at column 7: street and city without trailing blanks, state and zip.
PrintLine AddressLine(const LoanTexts& fields);

// "Loan Date", "Loan Amount" (through `amountMask`), "APR" and "Pmts/Yr" on one line.
PrintLine LoanTermsLine(const LoanTexts& fields, std::string_view amountMask);

// The 80-character rule, an empty line and the two-line titles over the columns of the payment rows.
std::vector<PrintLine> PaymentColumnTitles();

}  // namespace kb
