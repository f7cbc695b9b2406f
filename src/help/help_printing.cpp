#include "help/help_printing.h"

#include <QPrinter>
#include <QTextDocument>
#include <filesystem>

#include "widgets/qt_printer.h"

namespace kb {

std::string QtHelpPrinting::jobFileName(const std::string& outputFile) {
    const int job = ++jobsPrinted_[outputFile];
    if (job == 1) return outputFile;
    const std::filesystem::path path(outputFile);
    return ((path.parent_path() / path.stem()).string() + "-" + std::to_string(job) + ".pdf");
}

void QtHelpPrinting::print(const QTextDocument& document, const PrinterChoice& choice) {
    PrinterChoice job = choice;
    if (!job.outputFile.empty()) job.outputFile = jobFileName(choice.outputFile);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, job);
    document.print(&printer);
}

}  // namespace kb
