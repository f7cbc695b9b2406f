#pragma once
#include "core/printing.h"

namespace kb {

// Each page is a print job of its own on the chosen printer, at the printer's default page: plain lines in the
// system's fixed-pitch font, one under the other from the top of the printable area. A choice with an output file
// writes the page as a PDF file of that name (the report flow names each page's file).
class QtPrinting : public Printing {
public:
    // Throws std::runtime_error when the choice names no printer, or one that is not there.
    void checkPrinter(const PrinterChoice& choice) override;
    // Throws std::runtime_error when there is no printer, or the printer or the file cannot be opened.
    std::unique_ptr<PageJob> openPage(const PrinterChoice& choice) override;
};

}  // namespace kb
