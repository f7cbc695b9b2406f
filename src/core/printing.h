#pragma once
#include <memory>
#include <string>

#include "core/dialogs.h"

namespace kb {

// One print job: pages of plain fixed-pitch text lines, one line under the other from the top of each page.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual void line(const std::string& text) = 0;
    // Ends the page and starts the next one in the same job.
    virtual void newPage() = 0;
    // Ends the job: a printer ejects its last page, a file is written whole. A job given up before its end leaves no
    // page printed and no file changed.
    virtual void close() = 0;
};

class Printing {
public:
    virtual ~Printing() = default;
    // Throws, in words a lender understands, when the choice cannot print: no printer set up, or one that is not
    // there. Checked before the first paper prompt, so no sheet is asked for that nothing will print on.
    virtual void checkPrinter(const PrinterChoice&) {}
    // Opens a job on the chosen printer, or a PDF document in the chosen file.
    virtual std::unique_ptr<PrintJob> openJob(const PrinterChoice&) = 0;
};

}  // namespace kb
