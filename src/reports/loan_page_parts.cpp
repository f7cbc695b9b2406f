#include "reports/loan_page_parts.h"

#include "core/format.h"

namespace kb {

namespace {

// The loan fields these lines read beyond those loan_fields.h names.
enum LoanTextIndex { kFirstMIText = 2, kStreetText = 3, kCityText = 4, kZipText = 6 };

constexpr const char* kTitleCash = "CASH/";
constexpr const char* kTitleTotal = "TOTAL";
constexpr const char* kTitleLate = "LATE";
constexpr const char* kColumnTitles = "DATE        CHECK      PAYMENT   FEE     INTEREST  PRINCIPAL    BALANCE";

}  // namespace

std::string FieldUsing(std::string_view text, std::string_view mask) { return Using(NumVal(text), mask); }

PrintLine CustomerLine(const LoanTexts& fields) {
    return PrintLine().at(6, "Customer: ").add(TrimRight(fields[kFirstMIText])).add(" ").add(fields[kLastNmField]);
}

PrintLine LoanTermsLine(const LoanTexts& fields, std::string_view amountMask) {
    return PrintLine()
        .at(5, "Loan Date: ")
        .add(fields[kLoanDTField])
        .at(28, "Loan Amount: ")
        .add(FieldUsing(fields[kLoanAmtField], amountMask))
        .at(55, "APR: ")
        .add(FieldUsing(fields[kAPRField], "#0.000"))
        .at(69, "Pmts/Yr: ")
        .add(fields[kPmtsPerYrField]);
}

PrintLine AddressLine(const LoanTexts& fields) {
    return PrintLine()
        .at(7, "Address: ")
        .add(TrimRight(fields[kStreetText]))
        .add(", ")
        .add(TrimRight(fields[kCityText]))
        .add(", ")
        .add(fields[kStateField])
        .add(" ")
        .add(fields[kZipText]);
}

std::vector<PrintLine> PaymentColumnTitles() {
    return {
        PrintLine().at(2, std::string(80, '_')),
        PrintLine(),
        PrintLine().at(14, kTitleCash).at(25, kTitleTotal).at(35, kTitleLate),
        PrintLine().at(2, kColumnTitles),
    };
}

}  // namespace kb
