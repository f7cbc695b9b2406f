#pragma once
#include "core/dialogs.h"

class QPrintDialog;
class QPrinter;

namespace kb {

// The system's message boxes, text prompt, print dialog, folder dialog and list choice.
class QtDialogs : public Dialogs {
public:
    Answer message(const std::string& text, const std::string& title, Buttons, Icon) override;
    std::optional<std::string> prompt(const std::string& text, const std::string& title, const std::string& initial,
                                      bool masked) override;
    std::optional<PrinterChoice> choosePrinter(const PrintDialogOptions&) override;
    std::optional<PrinterChoice> previewPages(const std::vector<PageLines>& pages, const PrinterChoice& chosen,
                                              const PrintDialogOptions& options) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::size_t> chooseItem(const std::string& text, const std::string& title,
                                          const std::vector<std::string>& items) override;
};

// The printer the print dialog starts from: the system's default printer or, when the system has none, a PDF file
// of the proposed name.
void PreparePrinter(QPrinter& printer, const PrintDialogOptions& options);

// What the print dialog offers as `options` say (Preview is a button beside Print); with no printer on the system,
// it says so.
void PreparePrintDialog(QPrintDialog& dialog, const PrintDialogOptions& options);

}  // namespace kb
