#include "reports/print_flow.h"

#include <memory>
#include <optional>

#include "core/error_trap.h"

namespace kb {

int PageCount(std::size_t rows, int rowsPerPage) {
    if (rowsPerPage <= 0 || rows == 0) return 1;
    const std::size_t perPage = static_cast<std::size_t>(rowsPerPage);
    return static_cast<int>((rows + perPage - 1) / perPage);
}

std::vector<PageLines> ReportPages(const Report& report) {
    const int pages = PageCount(report.rows.size(), report.rowsPerPage);
    const std::size_t perPage =
        report.rowsPerPage > 0 ? static_cast<std::size_t>(report.rowsPerPage) : report.rows.size();
    std::vector<PageLines> printed(static_cast<std::size_t>(pages));
    std::size_t next = 0;
    for (int page = 1; page <= pages; ++page) {
        PageLines& lines = printed[static_cast<std::size_t>(page - 1)];
        const auto add = [&lines](const PrintLine& line) {
            lines.insert(lines.end(), line.lines().begin(), line.lines().end());
        };
        if (report.heading)
            for (const PrintLine& line : report.heading(page, pages)) add(line);
        for (std::size_t onPage = 0; onPage < perPage && next < report.rows.size(); ++onPage) add(report.rows[next++]);
        if (page == pages)
            for (const PrintLine& line : report.closing) add(line);
    }
    return printed;
}

namespace {

const std::string& PaperPrompt(const Report& report, std::size_t page) {
    return page > 0 && !report.laterPaperPrompt.empty() ? report.laterPaperPrompt : report.paperPrompt;
}

// Prints the pages: a job for each page on paper, one job for all of them to a file.
PrintOutcome PrintJobs(Dialogs& dialogs, Printing& printing, const PrinterChoice& chosen, const Report& report,
                       const std::vector<PageLines>& pages, const StepRunner& run) {
    const bool toFile = !chosen.outputFile.empty();
    std::unique_ptr<PrintJob> job;
    // A job that could not be opened takes no lines; its failure has been noted already.
    const auto onJob = [&](const std::function<void(PrintJob&)>& action) {
        return run([&] {
            if (job) action(*job);
        });
    };
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const bool startsJob = !toFile || page == 0;
        const bool endsJob = !toFile || page + 1 == pages.size();
        if (!toFile && dialogs.message(PaperPrompt(report, page), kAppTitle, Buttons::OKCancel, Icon::None) !=
                           Answer::OK)
            return PrintOutcome::Cancelled;
        const bool opened = startsJob ? run([&] { job = printing.openJob(chosen); })
                                      : onJob([](PrintJob& open) { open.newPage(); });
        if (!opened) return PrintOutcome::Abandoned;
        for (const std::string& text : pages[page])
            if (!onJob([&text](PrintJob& open) { open.line(text); })) return PrintOutcome::Abandoned;
        if (endsJob) {
            if (!onJob([](PrintJob& open) { open.close(); })) return PrintOutcome::Abandoned;
            job.reset();
        }
    }
    return PrintOutcome::Printed;
}

}  // namespace

PrintOutcome PrintPages(Dialogs& dialogs, Printing& printing, const PrinterChoice& chosen, const Report& report,
                        const StepRunner& run) {
    if (report.rows.empty()) return PrintOutcome::NothingToPrint;
    std::vector<PageLines> pages;
    if (!run([&] { pages = ReportPages(report); }) || pages.empty()) return PrintOutcome::Abandoned;
    std::optional<PrinterChoice> target = chosen;
    if (chosen.preview) target = dialogs.previewPages(pages, chosen, report.dialog);
    if (!target) return PrintOutcome::Cancelled;
    bool printerReady = false;
    if (!run([&] {
            printing.checkPrinter(*target);
            printerReady = true;
        }) ||
        !printerReady)
        return PrintOutcome::Abandoned;
    return PrintJobs(dialogs, printing, *target, report, pages, run);
}

PrintOutcome PrintReport(Dialogs& dialogs, Printing& printing, const Report& report) {
    const std::optional<PrinterChoice> chosen = dialogs.choosePrinter(report.dialog);
    if (!chosen) return PrintOutcome::Cancelled;
    ErrorTrap trap(dialogs, report.label);
    const PrintOutcome outcome = PrintPages(dialogs, printing, *chosen, report,
                                            [&](const std::function<void()>& step) {
                                                trap.run(step);
                                                return true;
                                            });
    trap.report();
    return outcome;
}

}  // namespace kb
