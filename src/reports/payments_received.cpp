#include "reports/payments_received.h"

#include <algorithm>
#include <unordered_map>

#include "core/currency.h"
#include "core/error_trap.h"
#include "core/format.h"
#include "loanbook/book.h"

namespace kb {

namespace {

constexpr const char* kInvalidBeginning = "INVALID BEGINNING DATE";
constexpr const char* kInvalidEnding = "INVALID ENDING DATE";
constexpr const char* kMissingDate = "MISSING BEGINNING OR ENDING DATE";
constexpr const char* kInvalidRange = "INVALID DATE RANGE";
constexpr const char* kPrintPmtsLabel = "RptCnd - Print Pmts";
constexpr const char* kLoanNotOnFile = "(LOAN NOT ON FILE)";
constexpr const char* kColumnTitles = "LOAN-#   LOAN-NAME                        DATE-REC     PAYMENT";
constexpr const char* kDateKeyMask = "yyyy/mm/dd";
constexpr const char* kDateMask = "mm/dd/yyyy";
constexpr const char* kWorkAmountMask = "######0.00";
constexpr const char* kTotalMask = "##,###,##0.00";
constexpr const char* kPaymentsFileName = "Payments received";

constexpr std::size_t kLoanNbrLength = 8;

// A typed date: "mm/dd/yyyy" as the field writes it, or month/day/year with a four-digit year.
std::optional<Date> ReadTypedDate(std::string_view text) {
    if (auto date = ParseStoredDate(text)) return date;
    const auto parts = ReadMonthDayYear(text);
    if (!parts || parts->yearDigits != 4) return std::nullopt;
    return MakeDate(parts->year, parts->month, parts->day);
}

// Loan numbers as the loans file compares them: case and trailing blanks do not count.
std::string LoanLookupKey(std::string_view loanNbr) {
    std::string key = TrimRight(loanNbr);
    for (char& c : key) c = AsciiUpper(c);
    return key;
}

std::string CustomerName(const LoanRecord& loan) { return TrimRight(loan.FirstMI) + " " + loan.LastNm; }

ReceivedPayment WorkListEntry(const PaymentRecord& payment, Date date, FigureReader& figures) {
    ReceivedPayment entry;
    const std::string loanNbr = CharSlice(payment.LoanNbr, 0, kLoanNbrLength);
    entry.date = date;
    entry.loanNbr = PadRight(loanNbr, kLoanNbrLength);
    entry.amount = figures.payment(loanNbr, payment.PmtDT).column("Amount", payment.Amount, kWorkAmountMask);
    entry.row = FormatDate(date, kDateKeyMask) + " " + entry.loanNbr + " " + entry.amount;
    return entry;
}

std::vector<PrintLine> Heading(const std::string& title, const DateRange& range) {
    return {
        PrintLine().at(5, title),
        PrintLine(),
        PrintLine()
            .at(5, "PAYMENTS MADE BETWEEN ")
            .add(FormatDate(range.first, kDateMask))
            .add(" and ")
            .add(FormatDate(range.last, kDateMask)),
        PrintLine(),
        PrintLine().at(5, kColumnTitles),
    };
}

}  // namespace

Conditions CheckConditions(std::string_view beginning, std::string_view ending) {
    const std::string begin = TrimRight(beginning), end = TrimRight(ending);
    std::optional<Date> first, last;
    if (!begin.empty() && !(first = ReadTypedDate(begin))) return {std::nullopt, kInvalidBeginning};
    if (!end.empty() && !(last = ReadTypedDate(end))) return {std::nullopt, kInvalidEnding};
    if (!first || !last) return {std::nullopt, kMissingDate};
    if (*first > *last) return {std::nullopt, kInvalidRange};
    return {DateRange{*first, *last}, nullptr};
}

std::vector<ReceivedPayment> GatherPayments(const std::vector<PaymentRecord>& payments, const DateRange& range,
                                            FigureReader& figures) {
    std::vector<ReceivedPayment> workList;
    for (const PaymentRecord& payment : payments) {
        const std::optional<Date> date = ParseStoredDate(payment.PmtDT);
        if (date && *date >= range.first && *date <= range.last)
            workList.push_back(WorkListEntry(payment, *date, figures));
    }
    std::sort(workList.begin(), workList.end(),
              [](const ReceivedPayment& a, const ReceivedPayment& b) { return a.row < b.row; });
    return workList;
}

std::vector<ReceivedPayment> ReadPaymentsReceived(KBMain& kb, const DateRange& range) {
    ErrorTrap fillList(kb.dialogs, kFillListLabel);
    std::vector<PaymentRecord> payments;
    if (!fillList.run([&] { payments = kb.book->paymentsBetween(range.first, range.last); })) return {};
    FigureReader figures;
    std::vector<ReceivedPayment> workList = GatherPayments(payments, range, figures);
    figures.reportTo(fillList);
    return workList;
}

Report PaymentsReceivedReport(const std::string& title, const DateRange& range,
                              const std::vector<ReceivedPayment>& workList, const std::vector<LoanRecord>& loans) {
    std::unordered_map<std::string, const LoanRecord*> byNumber;
    byNumber.reserve(loans.size());
    for (const LoanRecord& loan : loans) byNumber.emplace(LoanLookupKey(loan.LoanNbr), &loan);

    Report report;
    report.label = kPrintPmtsLabel;
    report.paperPrompt = kInsertBlankSheet;
    report.heading = [title, range](int, int) { return Heading(title, range); };
    report.rowsPerPage = kPaymentsRowsPerPage;
    report.rows.reserve(workList.size());
    Currency total;
    for (const ReceivedPayment& received : workList) {
        const auto loan = byNumber.find(LoanLookupKey(received.loanNbr));
        const std::string name = loan == byNumber.end() ? kLoanNotOnFile : CustomerName(*loan->second);
        report.rows.push_back(PrintLine()
                                  .at(5, received.loanNbr)
                                  .add(" ")
                                  .add(name)
                                  .at(46, FormatDate(received.date, kDateMask))
                                  .add(" ")
                                  .add(received.amount));
        // The total adds the amounts as printed, to the cent, so that it agrees with the column above it.
        total += Currency::FromDouble(NumVal(received.amount));
    }
    report.closing = {PrintLine(), PrintLine().at(47, "Total: ").add(Using(total.ToDouble(), kTotalMask))};
    return report;
}

PrintOutcome PrintPmts(KBMain& kb, const std::string& title, const DateRange& range,
                       const std::vector<ReceivedPayment>& workList) {
    if (workList.empty()) return PrintOutcome::NothingToPrint;
    ErrorTrap trap(kb.dialogs, kPrintPmtsLabel);
    const PrintDialogOptions dialog = ReportPrintDialog(kPaymentsFileName, "", kb.clock.today());
    const std::optional<PrinterChoice> chosen = kb.dialogs.choosePrinter(dialog);
    if (!chosen) return PrintOutcome::Cancelled;

    std::vector<LoanRecord> loans;
    ErrorTrap fillList(kb.dialogs, kFillListLabel);
    if (!fillList.run([&] { loans = kb.book->loans(LoanOrder::ById); })) return PrintOutcome::Abandoned;
    Report report;
    if (!trap.run([&] { report = PaymentsReceivedReport(title, range, workList, loans); }))
        return PrintOutcome::Abandoned;
    report.dialog = dialog;
    return PrintPages(kb.dialogs, kb.printing, *chosen, report, [&trap](const std::function<void()>& step) {
        trap.run(step);
        return true;
    });
}

}  // namespace kb
