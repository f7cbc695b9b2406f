#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <iostream>

#include "app/Main.h"
#include "app/qt_dialogs.h"
#include "app/qt_printing.h"
#include "app/system_clock.h"
#include "server/book_choice.h"
#include "server/book_copy.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        if (const auto copy = kb::CopyCommand(argv[1])) return kb::RunCopyCommand(*copy, ".", std::cout, std::cerr);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel-Book");
    kb::QtDialogs dialogs;
    kb::QtPrinting printing;
    kb::SystemClock clock;
    kb::KBMain kb(dialogs, printing, clock);
    std::unique_ptr<kb::Book> book;
    try {
        book = kb::OpenBook(kb, ".");
    } catch (const kb::StoreError& error) {
        dialogs.message(error.what(), kb::kAppTitle, kb::Buttons::OK, kb::Icon::Critical);
        return 1;
    }
    kb.book = book.get();
    kb::Main(kb);
    const auto windows = QApplication::topLevelWidgets();
    if (std::none_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }))
        return 0;  // start-up ended without opening the loan list
    return app.exec();
}
