#include "help/help_printing.h"

#include <QTextDocument>

#include "widgets/qt_printer.h"

namespace kb {

void QtHelpPrinting::print(const QTextDocument& document, const PrinterChoice& choice) {
    PrintTarget target(choice);
    document.print(&target.device());
    target.finish();
}

}  // namespace kb
