#include "list/loan_row.h"

#include "core/format.h"

namespace kb {

namespace {

constexpr std::size_t kLoanNbrWidth = 8;

}  // namespace

LoanOrder SortOrderOf(std::string_view sortLabel) {
    const std::string_view key = sortLabel.substr(0, 7);
    if (key == "LOAN-NA") return LoanOrder::ByName;
    if (key == "LOAN-DA") return LoanOrder::ByDueDate;
    return LoanOrder::ById;
}

std::string LoanRow(const LoanRecord& loan, FigureReader& figures) {
    const std::string name = TrimRight(loan.LastNm) + ", " + TrimRight(loan.FirstMI);
    const FigureReader::Record figure = figures.loan(loan.LoanNbr);
    return PadRight(loan.LoanNbr, kLoanNbrWidth) + " " + PadRight(name, 32) + " " +
           figure.column("Balance", loan.Balance, "###,##0.00") + " " + FormatDate(loan.NextPmtDT, "mm/dd/yyyy") +
           " " + figure.column("Payment", loan.Payment, "###,##0.00");
}

std::string LoanNbrAsListed(const LoanRecord& loan) {
    std::string number = PadRight(loan.LoanNbr, kLoanNbrWidth);
    number.erase(0, number.find_first_not_of(' '));
    return number;
}

std::vector<std::string> LoanRows(const std::vector<LoanRecord>& loans, FigureReader& figures) {
    std::vector<std::string> rows;
    rows.reserve(loans.size());
    for (const LoanRecord& loan : loans) {
        if (!loan.LoanNbr.empty()) rows.push_back(LoanRow(loan, figures));
    }
    return rows;
}

}  // namespace kb
