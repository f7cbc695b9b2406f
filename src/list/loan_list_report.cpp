#include "list/loan_list_report.h"

#include <algorithm>

#include "core/format.h"
#include "list/loan_row.h"

namespace kb {

namespace {

constexpr const char* kLoanListLabel = "KBLoan - mnu LOAN RPT";
constexpr const char* kLoansTitle = "LOANS";
constexpr const char* kLoanListFileName = "Loan list";
constexpr const char* kNextPaymentTitle = "----NEXT PAYMENT----";
constexpr const char* kLoanListColumnTitles =
    "LOAN-#   LOAN-NAME                         BALANCE    DUE-DATE     PAYMENT";
constexpr const char* kTotalBalanceMask = "##,###,##0.00";
constexpr const char* kTotalPaymentMask = "###,##0.00";

}  // namespace

std::vector<ListedLoan> ListLoans(std::vector<LoanRecord> loans, FigureReader& figures) {
    std::vector<ListedLoan> listed;
    listed.reserve(loans.size());
    for (LoanRecord& loan : loans) {
        if (loan.LoanNbr.empty()) continue;
        ListedLoan entry;
        entry.row = LoanRow(loan, figures);
        const FigureReader::Record figure = figures.loan(loan.LoanNbr);
        entry.balance = figure.money("Balance", loan.Balance);
        entry.payment = figure.money("Payment", loan.Payment);
        entry.loan = std::move(loan);
        listed.push_back(std::move(entry));
    }
    return listed;
}

int TypeAheadRow(const std::vector<ListedLoan>& loans, LoanOrder order, std::string_view typed) {
    const auto startsWithTyped = [&](std::string_view key) {
        return key.size() >= typed.size() &&
               std::equal(typed.begin(), typed.end(), key.begin(),
                          [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
    };
    for (std::size_t row = 0; row < loans.size(); ++row) {
        const LoanRecord& loan = loans[row].loan;
        if (startsWithTyped(order == LoanOrder::ByName ? loan.LastNm : loan.LoanNbr)) return static_cast<int>(row);
    }
    return -1;
}

Report LoanListReport(const std::string& caption, const std::vector<ListedLoan>& loans) {
    Report report;
    report.label = kLoanListLabel;
    report.paperPrompt = kInsertBlankSheet;
    report.heading = [caption](int, int) {
        return std::vector<PrintLine>{
            PrintLine().at(2, caption),
            PrintLine(),
            PrintLine().at(39, kLoansTitle),
            PrintLine(),
            PrintLine().at(56, kNextPaymentTitle),
            PrintLine().at(2, kLoanListColumnTitles),
        };
    };
    Currency totalBalance;
    Currency totalPayment;
    report.rows.reserve(loans.size());
    for (const ListedLoan& loan : loans) {
        report.rows.push_back(PrintLine().at(2, loan.row));
        totalBalance += loan.balance;
        totalPayment += loan.payment;
    }
    report.rowsPerPage = kLoanListRowsPerPage;
    report.closing = {PrintLine(), PrintLine()
                                       .at(35, "Total: ")
                                       .add(Using(totalBalance.ToDouble(), kTotalBalanceMask))
                                       .at(67, Using(totalPayment.ToDouble(), kTotalPaymentMask))};
    return report;
}

PrintOutcome PrintLoanList(KBMain& kb, const std::string& caption, const std::vector<ListedLoan>& loans) {
    Report report = LoanListReport(caption, loans);
    report.dialog = ReportPrintDialog(kLoanListFileName, "", kb.clock.today());
    return PrintReport(kb.dialogs, kb.printing, report);
}

}  // namespace kb
