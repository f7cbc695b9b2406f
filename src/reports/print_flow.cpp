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

PrinterChoice PageChoice(const PrinterChoice& chosen, int page) {
    PrinterChoice choice = chosen;
    if (page <= 1 || chosen.outputFile.empty()) return choice;
    std::string name = chosen.outputFile;
    static constexpr std::string_view kPdf = ".pdf";
    if (name.size() > kPdf.size()) {
        std::string extension = name.substr(name.size() - kPdf.size());
        for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (extension == kPdf) name.resize(name.size() - kPdf.size());
    }
    choice.outputFile = name + "-" + std::to_string(page) + std::string(kPdf);
    return choice;
}

PrintOutcome PrintPages(Dialogs& dialogs, Printing& printing, const PrinterChoice& chosen, const Report& report,
                        const StepRunner& run) {
    if (report.rows.empty()) return PrintOutcome::NothingToPrint;
    bool printerReady = false;
    if (!run([&] {
            printing.checkPrinter(chosen);
            printerReady = true;
        }) ||
        !printerReady)
        return PrintOutcome::Abandoned;
    const int pages = PageCount(report.rows.size(), report.rowsPerPage);
    const std::size_t perPage =
        report.rowsPerPage > 0 ? static_cast<std::size_t>(report.rowsPerPage) : report.rows.size();
    std::size_t next = 0;

    for (int page = 1; page <= pages; ++page) {
        const std::string& prompt =
            page > 1 && !report.laterPaperPrompt.empty() ? report.laterPaperPrompt : report.paperPrompt;
        if (dialogs.message(prompt, kAppTitle, Buttons::OKCancel, Icon::None) != Answer::OK)
            return PrintOutcome::Cancelled;

        std::unique_ptr<PageJob> job;
        if (!run([&] { job = printing.openPage(PageChoice(chosen, page)); })) return PrintOutcome::Abandoned;
        // A page that could not be opened takes no lines; its failure has been noted already.
        auto print = [&](const PrintLine& line) {
            return run([&] {
                if (!job) return;
                for (const std::string& text : line.lines()) job->line(text);
            });
        };

        bool goOn = true;
        if (report.heading) {
            std::vector<PrintLine> heading;
            goOn = run([&] { heading = report.heading(page, pages); });
            for (std::size_t i = 0; goOn && i < heading.size(); ++i) goOn = print(heading[i]);
        }
        for (std::size_t onPage = 0; goOn && onPage < perPage && next < report.rows.size(); ++onPage)
            goOn = print(report.rows[next++]);
        if (page == pages)
            for (std::size_t i = 0; goOn && i < report.closing.size(); ++i) goOn = print(report.closing[i]);
        if (!goOn || !run([&] {
                if (job) job->close();
            }))
            return PrintOutcome::Abandoned;
    }
    return PrintOutcome::Printed;
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
