#include "app/qt_printing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <stdexcept>

#include "widgets/qt_printer.h"

namespace kb {

namespace {

constexpr const char* kPageNotPrinted = "The page could not be printed";

// The widest line the reports print: the 80-character rule placed at column 2.
constexpr int kWidestReportLine = 81;
// The page font is made no smaller than this to fit.
constexpr double kSmallestPointSize = 8;

QRectF PrintableArea(const QPagedPaintDevice& device) {
    return device.pageLayout().paintRectPixels(device.logicalDpiX());
}

// The system's fixed-pitch font at its own size, made smaller only as far as a page of `lines` lines needs, and
// never under 8 points: the widest report line fits across the printable area, and the lines fit down it.
QFont PageFont(QPagedPaintDevice& device, std::size_t lines) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QRectF area = PrintableArea(device);
    const QFontMetricsF metrics(font, &device);
    const double across = area.width() / metrics.horizontalAdvance(QString(kWidestReportLine, 'M'));
    const double down = area.height() / (static_cast<double>(std::max<std::size_t>(lines, 1)) * metrics.lineSpacing());
    const double scale = std::min(across, down);
    if (scale < 1) font.setPointSizeF(std::max(kSmallestPointSize, font.pointSizeF() * scale));
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
    painter.setFont(PageFont(device, lines.size()));
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

void DrawPages(QPagedPaintDevice& device, const std::vector<PageLines>& pages) {
    QPainter painter(&device);
    for (std::size_t page = 0; page < pages.size(); ++page)
        if ((page > 0 && !device.newPage()) || !DrawPage(painter, device, pages[page])) return;
}

void QtPrinting::checkPrinter(const PrinterChoice& choice) {
    QPrinter printer;
    SetUpPrinter(printer, choice);
}

std::unique_ptr<PrintJob> QtPrinting::openJob(const PrinterChoice& choice) {
    return std::make_unique<QtPrintJob>(choice);
}

}  // namespace kb
