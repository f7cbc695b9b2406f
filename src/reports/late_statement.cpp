#include "reports/late_statement.h"

#include "core/error_trap.h"
#include "core/format.h"
#include "loanbook/book.h"
#include "reports/late_payments.h"

namespace kb {

namespace {

constexpr const char* kStatementLabel = "Print Late Statement - cmd LATE PMT";
constexpr const char* kStatementFileName = "Late statement";
constexpr const char* kNoDueDate = "LOAN HAS NO DUE DATE";
constexpr const char* kNotPastDue = "NO PAYMENT PAST DUE";
constexpr const char* kDateMask = "mm/dd/yyyy";
constexpr const char* kTotalDueMask = "#####0.00";
// Room for the letterhead above the date.
constexpr int kLetterheadLines = 12;

}  // namespace

std::optional<int> MissedPayments(Date due, Date today) {
    const auto monthOf = [](Date date) { return std::chrono::year_month(date.year(), date.month()); };
    if (monthOf(due) > monthOf(today)) return std::nullopt;
    int missed = 0;
    Date counted = due;
    for (; monthOf(counted) != monthOf(today); counted = AddMonths(counted, 1)) ++missed;
    if (counted.day() <= today.day()) ++missed;
    return missed;
}

Currency TotalDue(int missed, std::string_view payment) { return Currency::FromDouble(missed * NumVal(payment)); }

std::vector<PrintLine> LateStatementLines(const LoanRecord& loan, Date today, Currency totalDue) {
    std::vector<PrintLine> lines(kLetterheadLines);
    const std::vector<PrintLine> letter = {
        PrintLine().at(10, FormatDate(today, kDateMask)),
        PrintLine(),
        PrintLine(),
        PrintLine().at(10, "Dear ").add(LateName(loan)),
        PrintLine(),
        PrintLine().at(15, "As you can see your account with us is seriouusly"),
        PrintLine().at(10, "past due. Please remit amount past due within 7 working"),
        PrintLine().at(10, "days or this account will be turned over for collection."),
        PrintLine(),
        PrintLine(),
        PrintLine()
            .at(15, "Due Date: ")
            .add(FormatDate(loan.NextPmtDT, kDateMask))
            .add("      Total Due: ")
            .add(FormatNumber(totalDue.ToDouble(), kTotalDueMask)),
        PrintLine(),
        PrintLine(),
        PrintLine().at(45, "Thank You"),
        PrintLine(),
        PrintLine(),
        PrintLine().at(45, "M.K. Tolliver"),
    };
    lines.insert(lines.end(), letter.begin(), letter.end());
    return lines;
}

PrintOutcome PrintLateStatement(KBMain& kb, std::string_view loanNbr) {
    ErrorTrap trap(kb.dialogs, kStatementLabel);
    const PrintDialogOptions dialog = ReportPrintDialog(kStatementFileName, loanNbr, kb.clock.today());
    const std::optional<PrinterChoice> chosen = kb.dialogs.choosePrinter(dialog);
    if (!chosen) return PrintOutcome::Cancelled;

    std::optional<LoanRecord> loan;
    if (!trap.run([&] { loan = kb.book->loan(loanNbr); })) return PrintOutcome::Abandoned;
    const char* refusal = nullptr;
    std::optional<int> missed;
    const Date today = kb.clock.today();
    if (!loan) {
        refusal = kRecordNotFound;
    } else if (!loan->NextPmtDT) {
        refusal = kNoDueDate;
    } else if (*loan->NextPmtDT >= today || !(missed = MissedPayments(*loan->NextPmtDT, today))) {
        refusal = kNotPastDue;
    }
    if (refusal) {
        kb.dialogs.message(refusal, kAppTitle, Buttons::OK, Icon::None);
        return PrintOutcome::NothingToPrint;
    }

    Report letter;
    letter.dialog = dialog;
    letter.paperPrompt = kLatePaperPrompt;
    if (!trap.run([&] { letter.rows = LateStatementLines(*loan, today, TotalDue(*missed, loan->Payment)); }))
        return PrintOutcome::Abandoned;
    return PrintPages(kb.dialogs, kb.printing, *chosen, letter, [&trap](const std::function<void()>& step) {
        trap.run(step);
        return true;
    });
}

}  // namespace kb
