#include "app/qt_printing.h"

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

QRectF PrintableArea(const QPagedPaintDevice& device) {
    return device.pageLayout().paintRectPixels(device.logicalDpiX());
}

// The system's fixed-pitch font at its own size; made smaller only when the widest report line would not fit
// across the printable width of the page.
QFont PageFont(QPagedPaintDevice& device) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const double width = PrintableArea(device).width();
    const double needed = QFontMetricsF(font, &device).horizontalAdvance(QString(kWidestReportLine, 'M'));
    if (needed > width && width > 0) font.setPointSizeF(font.pointSizeF() * width / needed);
    return font;
}

// A job's lines are kept until its page ends, then drawn together.
class QtPrintJob : public PrintJob {
public:
    explicit QtPrintJob(const PrinterChoice& choice) : target_(choice) {
        if (!painter_.begin(&target_.device())) throw std::runtime_error(CannotOpen(choice));
    }

    ~QtPrintJob() override {
        if (painter_.isActive()) target_.abandon();
    }

    void line(const std::string& text) override { page_.push_back(text); }

    void newPage() override {
        drawPage();
        if (!target_.device().newPage()) throw std::runtime_error(kPageNotPrinted);
    }

    void close() override {
        drawPage();
        if (!painter_.end()) throw std::runtime_error(kPageNotPrinted);
        target_.finish();
    }

private:
    void drawPage() {
        const bool drawn = DrawPage(painter_, target_.device(), page_);
        page_.clear();
        if (!drawn) throw std::runtime_error(kPageNotPrinted);
    }

    PrintTarget target_;
    QPainter painter_;
    std::vector<std::string> page_;
};

}  // namespace

bool DrawPage(QPainter& painter, QPagedPaintDevice& device, const std::vector<std::string>& lines) {
    painter.setFont(PageFont(device));
    const QFontMetricsF metrics(painter.font(), &device);
    const double height = PrintableArea(device).height();
    double y = 0;
    for (const std::string& text : lines) {
        if (y > 0 && y + metrics.lineSpacing() > height) {
            if (!device.newPage()) return false;
            y = 0;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), QString::fromStdString(text));
        y += metrics.lineSpacing();
    }
    return true;
}

void QtPrinting::checkPrinter(const PrinterChoice& choice) {
    QPrinter printer;
    SetUpPrinter(printer, choice);
}

std::unique_ptr<PrintJob> QtPrinting::openJob(const PrinterChoice& choice) {
    return std::make_unique<QtPrintJob>(choice);
}

}  // namespace kb
