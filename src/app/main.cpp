#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "app/Main.h"
#include "app/open_book.h"
#include "app/qt_dialogs.h"
#include "app/qt_printing.h"
#include "app/system_clock.h"
#include "server/book_choice.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (kb::AsksForCopy(arguments)) return kb::RunCopyFromCommandLine(arguments);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel-Book");
    kb::QtDialogs dialogs;
    const auto bookLock =
        kb::OpenBookFolder(arguments, QApplication::applicationDirPath().toStdString(), dialogs);
    if (!bookLock) return 1;
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
