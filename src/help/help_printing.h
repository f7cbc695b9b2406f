#pragma once
#include <map>
#include <string>

#include "core/dialogs.h"

class QTextDocument;

namespace kb {

// Prints formatted help text: each document is one print job of its own on the printer chosen in the print dialog,
// with its fonts and emphasis.
class HelpPrinting {
public:
    virtual ~HelpPrinting() = default;
    // Throws std::runtime_error when the printer cannot be used.
    virtual void print(const QTextDocument& document, const PrinterChoice& printer) = 0;
};

// Prints through QPrinter. Printing to a PDF file writes the first job to the chosen name and job n to NAME-n.pdf.
class QtHelpPrinting : public HelpPrinting {
public:
    void print(const QTextDocument& document, const PrinterChoice& printer) override;

private:
    std::string jobFileName(const std::string& outputFile);
    std::map<std::string, int> jobsPrinted_;
};

}  // namespace kb
