#include "list/loan_row.h"

#include "core/format.h"

namespace kb {

namespace {

std::string RightTrimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

LoanOrder SortOrderOf(std::string_view sortLabel) {
    const std::string_view key = sortLabel.substr(0, 7);
    if (key == "LOAN-NA") return LoanOrder::ByName;
    if (key == "LOAN-DA") return LoanOrder::ByDueDate;
    return LoanOrder::ById;
}

std::string LoanRow(const LoanRecord& loan) {
    const std::string name = RightTrimmed(loan.LastNm) + ", " + RightTrimmed(loan.FirstMI);
    return PadRight(loan.LoanNbr, 8) + " " + PadRight(name, 32) + " " + Using(NumVal(loan.Balance), "###,##0.00") +
           " " + FormatDate(loan.NextPmtDT, "mm/dd/yyyy") + " " + Using(NumVal(loan.Payment), "###,##0.00");
}

std::vector<std::string> LoanRows(const std::vector<LoanRecord>& loans) {
    std::vector<std::string> rows;
    rows.reserve(loans.size());
    for (const LoanRecord& loan : loans) {
        if (!loan.LoanNbr.empty()) rows.push_back(LoanRow(loan));
    }
    return rows;
}

}  // namespace kb
