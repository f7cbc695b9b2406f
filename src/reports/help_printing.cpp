#include "reports/help_printing.h"

#include <QPrinter>
#include <QTextDocument>
#include <filesystem>
#include <stdexcept>

namespace kb {

std::string QtHelpPrinting::jobFileName(const std::string& outputFile) {
    const int job = ++jobsPrinted_[outputFile];
    if (job == 1) return outputFile;
    const std::filesystem::path path(outputFile);
    return ((path.parent_path() / path.stem()).string() + "-" + std::to_string(job) + ".pdf");
}

void QtHelpPrinting::print(const QTextDocument& document, const PrinterChoice& choice) {
    QPrinter printer(QPrinter::HighResolution);
    if (!choice.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(jobFileName(choice.outputFile)));
    } else if (!choice.printerName.empty()) {
        printer.setPrinterName(QString::fromStdString(choice.printerName));
    }
    if (!printer.isValid()) throw std::runtime_error("The printer cannot be used");
    document.print(&printer);
}

}  // namespace kb
