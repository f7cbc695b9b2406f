#include "app/qt_printing.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <filesystem>
#include <vector>

namespace kb {

namespace {

class QtPageJob : public PageJob {
public:
    QtPageJob(std::string printerName, std::string outputFile)
        : printerName_(std::move(printerName)), outputFile_(std::move(outputFile)) {}

    void line(const std::string& text) override { lines_.push_back(QString::fromStdString(text)); }

    void close() override {
        QPrinter printer;
        if (!outputFile_.empty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(outputFile_));
        } else if (!printerName_.empty()) {
            printer.setPrinterName(QString::fromStdString(printerName_));
        }
        QPainter painter;
        if (!painter.begin(&printer)) throw std::runtime_error("The printer cannot be opened");
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        const int lineHeight = QFontMetrics(painter.font(), &printer).lineSpacing();
        int y = lineHeight;
        for (const QString& text : lines_) {
            painter.drawText(0, y, text);
            y += lineHeight;
        }
        painter.end();
    }

private:
    std::string printerName_;
    std::string outputFile_;
    std::vector<QString> lines_;
};

}  // namespace

std::string QtPrinting::pageFileName(const std::string& outputFile) {
    int page = ++pagesPrinted_[outputFile];
    if (page == 1) return outputFile;
    std::filesystem::path path(outputFile);
    std::filesystem::path stem = path.parent_path() / path.stem();
    return stem.string() + "-" + std::to_string(page) + ".pdf";
}

std::unique_ptr<PageJob> QtPrinting::openPage(const PrinterChoice& choice) {
    std::string file = choice.outputFile.empty() ? std::string() : pageFileName(choice.outputFile);
    return std::make_unique<QtPageJob>(choice.printerName, file);
}

}  // namespace kb
