#pragma once
#include <functional>
#include <optional>

#include "core/dialogs.h"

class QPrintPreviewDialog;
class QPrinter;

namespace kb {

// Draws every page of what is previewed on `printer`, as it will print.
using PaintPages = std::function<void(QPrinter& printer)>;

// Sets up the system's print preview of the pages `paint` draws, on the paper of the printer chosen: page by page,
// with zoom. Its Print prints them on the printer chosen, as any report prints (paper prompts included); its Save as
// PDF asks for a file, proposing the name `options` give. The preview's own page setup and turning of the page are
// not offered: the pages print as they are shown. `answer` is set to where the pages are to print.
void PreparePrintPreview(QPrintPreviewDialog& preview, const PaintPages& paint, const PrinterChoice& chosen,
                         const PrintDialogOptions& options, std::optional<PrinterChoice>& answer);

// Shows the print preview; returns where the pages are to print, or nullopt when the lender closes it.
std::optional<PrinterChoice> ShowPrintPreview(const PaintPages& paint, const PrinterChoice& chosen,
                                              const PrintDialogOptions& options);

}  // namespace kb
