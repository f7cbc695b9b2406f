#include "reports/late_payments.h"

#include <exception>

#include "core/error_trap.h"
#include "core/format.h"
#include "loanbook/book.h"

namespace kb {

namespace {

constexpr const char* kPrintListLabel = "Print List - cmd LATE PMT";
constexpr const char* kLateReportTitle = "LATE REPORT";
constexpr const char* kLateListFileName = "Late payments";
constexpr const char* kLateColumnTitles = "DUE-DATE  LOAN-NAME                            PAYMENT PHONE        LOAN #";
constexpr const char* kDateMask = "mm/dd/yyyy";
constexpr const char* kPaymentMask = "###,##0.00";
constexpr std::size_t kNameWidth = 32;
constexpr std::size_t kPhoneWidth = 12;
constexpr std::size_t kLoanNbrWidth = 8;
// The third failure of a run asks the user.
constexpr int kFailuresBeforeAsking = 3;

// Every loan, oldest due date first (none first), loans due the same day by loan number.
std::optional<std::vector<LoanRecord>> ReadLoansByDueDate(Book& book, LateRetry& retry) {
    std::vector<LoanRecord> loans;
    if (!retry([&] { loans = book.loans(LoanOrder::ByDueDate); })) return std::nullopt;
    return loans;
}

PrintDialogOptions LateListDialog(const KBMain& kb) {
    return ReportPrintDialog(kLateListFileName, "", kb.clock.today());
}

}  // namespace

std::string DueKey(const std::optional<Date>& date) { return FormatDate(date, "yyyymmdd"); }

bool IsLate(const LoanRecord& loan, Date today, FigureReader& figures) {
    return figures.loan(loan.LoanNbr).number("Balance", loan.Balance) > 0 && DueKey(loan.NextPmtDT) < DueKey(today);
}

std::string LateName(const LoanRecord& loan) {
    return PadRight(TrimRight(loan.FirstMI) + " " + TrimRight(loan.LastNm), kNameWidth);
}

std::string LatePmtRow(const LoanRecord& loan, FigureReader& figures) {
    return FormatDate(loan.NextPmtDT, kDateMask) + " " + LateName(loan) + "   " +
           figures.loan(loan.LoanNbr).column("Payment", loan.Payment, kPaymentMask) + " " +
           PadRight(loan.Phone, kPhoneWidth) + " " + PadRight(loan.LoanNbr, kLoanNbrWidth);
}

std::vector<PrintLine> LateReportHeading(const std::string& caption, Date today) {
    return {
        PrintLine().at(2, caption),
        PrintLine(),
        PrintLine().at(2, FormatDate(today, kDateMask)).at(36, kLateReportTitle),
        PrintLine(),
        PrintLine().at(3, kLateColumnTitles),
    };
}

PrintLine LateReportRow(const LoanRecord& loan, FigureReader& figures) {
    return PrintLine()
        .at(2, FormatDate(loan.NextPmtDT, kDateMask))
        .add(" ")
        .add(LateName(loan))
        .at(47, figures.loan(loan.LoanNbr).column("Payment", loan.Payment, kPaymentMask))
        .at(58, loan.Phone)
        .at(71, loan.LoanNbr);
}

bool LateRetry::operator()(const std::function<void()>& step) {
    for (;;) {
        std::string description;
        try {
            step();
            return true;
        } catch (const std::exception& error) {
            description = error.what();
        } catch (...) {
            description = "Unexpected error";
        }
        if (++failures_ < kFailuresBeforeAsking) continue;
        if (dialogs_.message(description, kAppTitle, Buttons::RetryCancel, Icon::None) != Answer::Retry) return false;
        failures_ = 0;
    }
}

std::optional<LateList> FillLatePmts(Book& book, Date today, Dialogs& dialogs) {
    LateRetry retry(dialogs);
    auto loans = ReadLoansByDueDate(book, retry);
    if (!loans) return std::nullopt;
    FigureReader figures;
    LateList late;
    // The late loans move up, in their order, in the vector they were read into: a long list is not copied.
    auto kept = loans->begin();
    for (auto loan = loans->begin(); loan != loans->end(); ++loan) {
        if (!IsLate(*loan, today, figures)) continue;
        late.rows.push_back(LatePmtRow(*loan, figures));
        if (kept != loan) *kept = std::move(*loan);
        ++kept;
    }
    loans->erase(kept, loans->end());
    late.loans = std::move(*loans);
    ErrorTrap fillList(dialogs, kFillListLabel);
    figures.reportTo(fillList);
    return late;
}

PrintOutcome LateReport(KBMain& kb, const PrinterChoice& chosen, const std::string& caption, FigureReader& figures) {
    LateRetry retry(kb.dialogs);
    const Date today = kb.clock.today();
    const auto loans = ReadLoansByDueDate(*kb.book, retry);
    if (!loans) return PrintOutcome::Abandoned;

    Report report;
    report.dialog = LateListDialog(kb);
    report.paperPrompt = kLatePaperPrompt;
    report.heading = [&caption, today](int, int) { return LateReportHeading(caption, today); };
    for (const LoanRecord& loan : *loans)
        if (IsLate(loan, today, figures)) report.rows.push_back(LateReportRow(loan, figures));
    report.rowsPerPage = kLateRowsPerPage;

    const PrintOutcome outcome = PrintPages(kb.dialogs, kb.printing, chosen, report,
                                            [&retry](const std::function<void()>& step) { return retry(step); });
    if (outcome == PrintOutcome::NothingToPrint)
        kb.dialogs.message(kNoLatePayments, kAppTitle, Buttons::OK, Icon::None);
    return outcome;
}

PrintOutcome PrintLateList(KBMain& kb, const std::string& caption) {
    ErrorTrap trap(kb.dialogs, kPrintListLabel);
    const std::optional<PrinterChoice> chosen = kb.dialogs.choosePrinter(LateListDialog(kb));
    if (!chosen) return PrintOutcome::Cancelled;
    PrintOutcome outcome = PrintOutcome::Abandoned;
    FigureReader figures;
    trap.run([&] { outcome = LateReport(kb, *chosen, caption, figures); });
    figures.reportTo(trap);
    return outcome;
}

}  // namespace kb
