#pragma once
#include <optional>

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
    // Shows the document as it will print; returns where it is to print (Dialogs::previewPages).
    virtual std::optional<PrinterChoice> preview(const QTextDocument& document, const PrinterChoice& chosen,
                                                 const PrintDialogOptions& options) = 0;
};

// Prints on the chosen printer, or as a PDF file.
class QtHelpPrinting : public HelpPrinting {
public:
    void print(const QTextDocument& document, const PrinterChoice& printer) override;
    std::optional<PrinterChoice> preview(const QTextDocument& document, const PrinterChoice& chosen,
                                         const PrintDialogOptions& options) override;
};

}  // namespace kb
