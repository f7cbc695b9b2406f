#include "help/help_printing.h"

#include <QPrinter>
#include <QTextDocument>

#include "widgets/print_preview.h"
#include "widgets/qt_printer.h"

namespace kb {

void QtHelpPrinting::print(const QTextDocument& document, const PrinterChoice& choice) {
    PrintTarget target(choice);
    document.print(&target.device());
    target.finish();
}

std::optional<PrinterChoice> QtHelpPrinting::preview(const QTextDocument& document, const PrinterChoice& chosen,
                                                     const PrintDialogOptions& options) {
    return ShowPrintPreview([&document](QPrinter& printer) { document.print(&printer); }, chosen, options);
}

}  // namespace kb
