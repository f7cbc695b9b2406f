#pragma once
#include <string>
#include <vector>

#include "core/printing.h"

class QPagedPaintDevice;
class QPainter;

namespace kb {

// A print job on the chosen printer, at the printer's default page, or a PDF document in the chosen file: plain lines
// in the system's fixed-pitch font, one under the other from the top of the printable area.
class QtPrinting : public Printing {
public:
    // Throws std::runtime_error when the choice names no printer, or one that is not there.
    void checkPrinter(const PrinterChoice& choice) override;
    // Throws std::runtime_error when there is no printer, or the printer or the file cannot be opened.
    std::unique_ptr<PrintJob> openJob(const PrinterChoice& choice) override;
};

// Draws one page of report lines with `painter`, active on `device`, from the top left of the printable area: in the
// system's fixed-pitch font, made smaller only as far as needed (never under 8 points) for the widest report line to
// fit across and the page's lines down. A page with more lines than fit even so goes on on a further sheet, like a
// printer fed past its page length. Returns false when the device refuses a further sheet.
bool DrawPage(QPainter& painter, QPagedPaintDevice& device, const std::vector<std::string>& lines);

// Draws the pages in order on `device`, each as DrawPage does: what the print preview shows.
void DrawPages(QPagedPaintDevice& device, const std::vector<PageLines>& pages);

}  // namespace kb
