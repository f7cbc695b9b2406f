#pragma once
#include <memory>
#include <string>

#include "core/dialogs.h"

namespace kb {

// One printed page is one print job of its own: lines of plain fixed-pitch text.
class PageJob {
public:
    virtual ~PageJob() = default;
    virtual void line(const std::string& text) = 0;
    virtual void close() = 0;
};

class Printing {
public:
    virtual ~Printing() = default;
    // Throws, in words a lender understands, when the choice cannot print: no printer set up, or one that is not
    // there. Checked before the first paper prompt, so no sheet is asked for that nothing will print on.
    virtual void checkPrinter(const PrinterChoice&) {}
    virtual std::unique_ptr<PageJob> openPage(const PrinterChoice&) = 0;
};

}  // namespace kb
