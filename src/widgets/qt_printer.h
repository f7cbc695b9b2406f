#pragma once
#include <string>

#include "core/dialogs.h"

class QPrinter;

namespace kb {

// Points `printer` at what the print dialog chose: a PDF file of that name, or the named system printer. Throws
// std::runtime_error when the choice names neither (the system has no printer for the dialog to list) or names a
// printer that is not there or cannot be used. Printing to a file needs no printer.
void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice);

// The words for a printer or file of `choice` that cannot be opened.
std::string CannotOpen(const PrinterChoice& choice);

}  // namespace kb
