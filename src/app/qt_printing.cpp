#include "app/qt_printing.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <stdexcept>

#include "widgets/qt_printer.h"

namespace kb {

namespace {

constexpr const char* kPageNotPrinted = "The page could not be printed";

// The widest line the reports print: the 80-character rule placed at column 2.
constexpr int kWidestReportLine = 81;

class QtPageJob : public PageJob {
public:
    explicit QtPageJob(const PrinterChoice& choice) : printer_(QPrinter::HighResolution) {
        SetUpPrinter(printer_, choice);
        if (!painter_.begin(&printer_)) throw std::runtime_error(CannotOpen(choice));
        painter_.setFont(PageFont());
        const QFontMetricsF metrics(painter_.font(), &printer_);
        lineHeight_ = metrics.lineSpacing();
        ascent_ = metrics.ascent();
    }

    ~QtPageJob() override {
        // A page given up before its end is not sent; to a file, no partial file is left.
        if (!painter_.isActive()) return;
        if (printer_.outputFormat() == QPrinter::PdfFormat) {
            painter_.end();
            QFile::remove(printer_.outputFileName());
        } else {
            printer_.abort();
            painter_.end();
        }
    }

    void line(const std::string& text) override {
        // Like a printer fed past its page length, a page with more lines than fit goes on on a further sheet.
        if (y_ > 0 && y_ + lineHeight_ > PageHeight()) {
            if (!printer_.newPage()) throw std::runtime_error(kPageNotPrinted);
            y_ = 0;
        }
        painter_.drawText(QPointF(0, y_ + ascent_), QString::fromStdString(text));
        y_ += lineHeight_;
    }

    void close() override {
        if (!painter_.end()) throw std::runtime_error(kPageNotPrinted);
    }

private:
    // The system's fixed-pitch font at its own size; made smaller only when the widest report line would not fit
    // across the printable width of the page.
    QFont PageFont() {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        const double width = printer_.pageLayout().paintRectPixels(printer_.resolution()).width();
        const double needed = QFontMetricsF(font, &printer_).horizontalAdvance(QString(kWidestReportLine, 'M'));
        if (needed > width && width > 0) font.setPointSizeF(font.pointSizeF() * width / needed);
        return font;
    }

    double PageHeight() { return printer_.pageLayout().paintRectPixels(printer_.resolution()).height(); }

    QPrinter printer_;
    QPainter painter_;
    double lineHeight_ = 0;
    double ascent_ = 0;
    double y_ = 0;
};

}  // namespace

void QtPrinting::checkPrinter(const PrinterChoice& choice) {
    QPrinter printer;
    SetUpPrinter(printer, choice);
}

std::unique_ptr<PageJob> QtPrinting::openPage(const PrinterChoice& choice) {
    return std::make_unique<QtPageJob>(choice);
}

}  // namespace kb
