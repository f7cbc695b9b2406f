#include "widgets/qt_printer.h"

#include <QPrinter>
#include <stdexcept>

namespace kb {

namespace {

constexpr const char* kNoPrinter = "NO PRINTER IS SET UP";
constexpr const char* kCantOpenPrinter = "The printer cannot be opened: ";
constexpr const char* kCantWriteFile = "The file cannot be written: ";

}  // namespace

void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice) {
    if (!choice.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(choice.outputFile));
        return;
    }
    if (choice.printerName.empty()) throw std::runtime_error(kNoPrinter);
    // For a name it does not know, Qt quietly takes the default printer instead, or with no printer at all a PDF
    // writer without a file, which prints nothing and says nothing.
    const QString name = QString::fromStdString(choice.printerName);
    printer.setPrinterName(name);
    if (printer.printerName() != name || printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid())
        throw std::runtime_error(CannotOpen(choice));
}

std::string CannotOpen(const PrinterChoice& choice) {
    return choice.outputFile.empty() ? kCantOpenPrinter + choice.printerName : kCantWriteFile + choice.outputFile;
}

}  // namespace kb
