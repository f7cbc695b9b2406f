#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/figure_reader.h"
#include "core/kbmain.h"
#include "loanbook/book.h"
#include "reports/print_flow.h"
#include "store/records.h"

namespace kb {

inline constexpr const char* kNoLatePayments = "NO LATE PAYMENTS FOUND";
// The paper prompt before each page of the late report and before the past-due letter.
inline constexpr const char* kLatePaperPrompt = "Insert blank sheet of paper in printer";
inline constexpr int kLateRowsPerPage = 48;

// A date as the late rule compares it: yyyymmdd; a missing date gives an empty key, below every date.
std::string DueKey(const std::optional<Date>& date);

// A loan is late when its balance is above 0 and its next payment was due before today (a loan with a balance and
// no due date counts as late). A balance that cannot be read counts as 0 and is noted by `figures`.
bool IsLate(const LoanRecord& loan, Date today, FigureReader& figures);

// The customer as the late list and the letter print it: first name and last name, each without trailing blanks,
// one blank between, left-justified in 32 characters and cut at 32.
std::string LateName(const LoanRecord& loan);

// The late list's row: due date (empty for none), name, payment, phone, loan number; 78 characters with a date.
// A payment that cannot be read leaves its column blank and is noted by `figures`.
std::string LatePmtRow(const LoanRecord& loan, FigureReader& figures);

// The late payment report's heading (5 lines) and one loan's line.
std::vector<PrintLine> LateReportHeading(const std::string& caption, Date today);
PrintLine LateReportRow(const LoanRecord& loan, FigureReader& figures);

// The late lists' way with failures: a failed step is tried again at once, without a word, until the third
// failure of the run, which is shown with Retry (the count starts again) and Cancel (the work is given up).
// The count is not reset when a retried step succeeds.
class LateRetry {
public:
    explicit LateRetry(Dialogs& dialogs) : dialogs_(dialogs) {}
    // False when the user gave the work up.
    bool operator()(const std::function<void()>& step);

private:
    Dialogs& dialogs_;
    int failures_ = 0;
};

// The late list: its rows and, beside them, the loan each row shows.
struct LateList {
    std::vector<std::string> rows;
    std::vector<LoanRecord> loans;
};

// The late loans and their rows, oldest due date first, loans due the same day by loan number; nullopt when the
// reading was given up in the retry dialog. An amount that cannot be read is reported when the rows are built
// (titled "FILL LIST").
std::optional<LateList> FillLatePmts(Book& book, Date today, Dialogs& dialogs);

// The late payment report on a printer already chosen, from the loans late now: 48 loans a page under the heading,
// a paper prompt before each page. No late loan: "NO LATE PAYMENTS FOUND" and no paper prompt. An amount that
// cannot be read is treated as in the late list and noted by `figures`.
PrintOutcome LateReport(KBMain& kb, const PrinterChoice& chosen, const std::string& caption, FigureReader& figures);

// Print List: the print dialog offering a PDF file (Cancel ends it silently), then the report; an amount that
// cannot be read is reported after it.
PrintOutcome PrintLateList(KBMain& kb, const std::string& caption);

}  // namespace kb
