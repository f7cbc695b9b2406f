#include "widgets/qt_printer.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <stdexcept>

namespace kb {

namespace {

constexpr const char* kCantOpenPrinter = "The printer cannot be opened: ";
constexpr const char* kCantWriteFile = "The file cannot be written: ";
// Office printers cannot print to the paper's edge: every page keeps this much on every side, or more where the
// printer needs it.
constexpr double kPageMarginMm = 12.7;

QPageSize PaperNamed(const std::string& name, const QPageSize& otherwise) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(size).toStdString() == name) return QPageSize(size);
    }
    return otherwise;
}

}  // namespace

void SetPage(QPagedPaintDevice& device, const std::string& paper) {
    device.setPageSize(PaperNamed(paper, device.pageLayout().pageSize()));
    QPageLayout layout = device.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    layout.setMargins(QMarginsF(std::max(kPageMarginMm, least.left()), std::max(kPageMarginMm, least.top()),
                                std::max(kPageMarginMm, least.right()), std::max(kPageMarginMm, least.bottom())));
    device.setPageLayout(layout);
}

QString ProposedPdfFile(const PrintDialogOptions& options) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath(QString::fromStdString(options.fileName));
}

void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice) {
    if (!choice.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(choice.outputFile));
        return;
    }
    if (choice.printerName.empty()) throw std::runtime_error(kNoPrinterSetUp);
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

PrintTarget::PrintTarget(const PrinterChoice& choice) : choice_(choice) {
    if (choice.outputFile.empty()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpPrinter(*printer_, choice);
        device_ = printer_.get();
    } else {
        file_ = std::make_unique<QSaveFile>(QString::fromStdString(choice.outputFile));
        if (!file_->open(QIODevice::WriteOnly)) throw std::runtime_error(CannotOpen(choice));
        pdf_ = std::make_unique<QPdfWriter>(file_.get());
        // The file's own title is its name, so a PDF reader shows what the file holds.
        pdf_->setTitle(QFileInfo(file_->fileName()).completeBaseName());
        pdf_->setCreator(kAppTitle);
        device_ = pdf_.get();
    }
    SetPage(*device_, choice.paper);
}

PrintTarget::~PrintTarget() = default;

void PrintTarget::finish() {
    if (file_ && !file_->commit()) throw std::runtime_error(CannotOpen(choice_));
}

void PrintTarget::abandon() {
    if (printer_) printer_->abort();
}

}  // namespace kb
