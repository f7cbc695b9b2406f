#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/printing.h"
#include "reports/page_lines.h"

namespace kb {

// The paper prompts shown before a page (OK and Cancel, no icon, the program's title).
inline constexpr const char* kInsertBlankSheet = "Insert Blank Sheet of Paper in Printer";
inline constexpr const char* kInsertAnotherSheet = "Insert another blank sheet of Paper in Printer";

// What a report prints and how, in plain values; the same flow prints every report.
struct Report {
    // The title under which a failure is reported at the end.
    std::string label;
    // What the print dialog offers and the name it proposes for a PDF file.
    PrintDialogOptions dialog;
    // Shown before the first page, and before every later page unless `laterPaperPrompt` is given.
    std::string paperPrompt = kInsertBlankSheet;
    std::string laterPaperPrompt;
    // The heading printed at the top of page `page` of `pages`; none when empty.
    std::function<std::vector<PrintLine>(int page, int pages)> heading;
    // The report's rows, in order. A row counts as one however many text lines it prints as.
    std::vector<PrintLine> rows;
    // Rows a page holds; 0 puts every row on one page.
    int rowsPerPage = 0;
    // Printed after the last row, on the last page (totals, signature).
    std::vector<PrintLine> closing;
};

enum class PrintOutcome {
    Printed,         // every page printed, failures included
    NothingToPrint,  // no rows: nothing shown after the print dialog, nothing printed
    Cancelled,       // the print dialog or a paper prompt was cancelled: nothing more printed
    Abandoned,       // the printer cannot print, or a step failed and the step runner gave the report up
};

// Runs one step of printing (open a page, print a line, close a page). Returns false to give the report up; a step
// that fails and is merely skipped returns true.
using StepRunner = std::function<bool(const std::function<void()>& step)>;

// The pages a report of `rows` rows takes at `rowsPerPage` rows a page (at least 1).
int PageCount(std::size_t rows, int rowsPerPage);

// The report's pages as they print: on each its heading, its rows up to the page's limit and, on the last page, the
// closing lines. A report without rows is one page holding its heading and closing lines.
std::vector<PageLines> ReportPages(const Report& report);

// The pages of a report on a printer already chosen: no rows ends it. When the lender asked for a preview, the pages
// are shown first, and print where the lender says there (closing it ends the report). A printer that cannot print
// (checked as a step) gives the report up before any paper prompt. On a paper printer each page is a print job of
// its own, after its paper prompt (Cancel ends the report); a job opened is always closed before the next prompt.
// To a file the whole report is one PDF document, pages in order, and no paper prompt is shown: there is no sheet
// to insert.
PrintOutcome PrintPages(Dialogs& dialogs, Printing& printing, const PrinterChoice& chosen, const Report& report,
                        const StepRunner& run);

// The whole report: the print dialog (Cancel ends it silently), then the pages. A failing step is skipped and the
// report goes on; at the end the most recent failure is shown with the stop icon and the report's label.
PrintOutcome PrintReport(Dialogs& dialogs, Printing& printing, const Report& report);

}  // namespace kb
