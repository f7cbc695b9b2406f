#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "app/Main.h"
#include "app/open_book.h"
#include "app/qt_dialogs.h"
#include "app/qt_printing.h"
#include "app/system_clock.h"
#include "loanbook/sqlite_book.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel-Book");
    kb::QtDialogs dialogs;
    const auto bookLock = kb::OpenBookFolder(std::vector<std::string>(argv + 1, argv + argc),
                                             QApplication::applicationDirPath().toStdString(), dialogs);
    if (!bookLock) return 1;
    kb::QtPrinting printing;
    kb::SystemClock clock;
    kb::KBMain kb(dialogs, printing, clock);
    kb::SqliteBook book(kb);
    kb.book = &book;
    kb::Main(kb);
    const auto windows = QApplication::topLevelWidgets();
    if (std::none_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }))
        return 0;  // start-up ended without opening the loan list
    return app.exec();
}
