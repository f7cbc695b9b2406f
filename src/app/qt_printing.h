#pragma once
#include <map>
#include <string>

#include "core/printing.h"

namespace kb {

// Each page is a print job of its own on the chosen printer: plain lines in the system's fixed-pitch font.
// Printing to a PDF file writes page 1 to the chosen name and page n to NAME-n.pdf.
class QtPrinting : public Printing {
public:
    std::unique_ptr<PageJob> openPage(const PrinterChoice& choice) override;

private:
    std::string pageFileName(const std::string& outputFile);
    std::map<std::string, int> pagesPrinted_;
};

}  // namespace kb
