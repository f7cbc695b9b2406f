#include "app/open_book.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/book_folder.h"

namespace kb {

namespace {

namespace fs = std::filesystem;

// Held in the book's folder while a program has the book open.
constexpr const char* kLockFile = "KB.LCK";

// A message box on a platform without a screen would wait for ever for a click nobody can give.
bool WindowsCanBeSeen() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

// Says why the book cannot be opened: on the standard error, and in a message box under the program's title when
// there is a screen to show it on.
void Refuse(const std::string& text, Dialogs& dialogs) {
    std::cerr << "kestrel-book: " << text << std::endl;
    if (WindowsCanBeSeen()) dialogs.message(text, kAppTitle, Buttons::OK, Icon::Critical);
}

std::string LockRefusal(const QLockFile& lock, const fs::path& folder) {
    const std::string where = "\"" + folder.string() + "\"";
    if (lock.error() == QLockFile::LockFailedError)
        return "The book in " + where + " is already open in another Kestrel-Book program. Close it there first.";
    return "The book in " + where + " cannot be opened: its folder cannot be written to.";
}

// The book's lock, taken, or held by another program (see LockRefusal).
std::unique_ptr<QLockFile> TryLock(const fs::path& folder) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString((folder / kLockFile).string()));
    // Only a lock whose program is gone is stale, however old: a book may stay open for days.
    lock->setStaleLockTime(0);
    lock->tryLock(0);
    return lock;
}

std::unique_ptr<QLockFile> LockBook(const fs::path& folder, Dialogs& dialogs) {
    auto lock = TryLock(folder);
    if (lock->isLocked()) return lock;
    Refuse(LockRefusal(*lock, folder), dialogs);
    return nullptr;
}

fs::path BookFolderAsked(const StartArguments& arguments) {
    const char* home = std::getenv("HOME");
    return ChooseBookFolder(arguments.book, fs::current_path(), home ? home : "");
}

}  // namespace

std::unique_ptr<QLockFile> OpenBookFolder(const std::vector<std::string>& arguments, const fs::path& executableFolder,
                                          Dialogs& dialogs) {
    try {
        const fs::path folder = BookFolderAsked(ParseStartArguments(arguments));
        CreateBookFolder(folder);
        auto lock = LockBook(folder, dialogs);
        if (!lock) return nullptr;
        CopyHelpFileIn(folder, ShippedHelpFile(executableFolder));
        fs::current_path(folder);
        return lock;
    } catch (const std::exception& error) {
        Refuse(error.what(), dialogs);
        return nullptr;
    }
}

bool AsksForCopy(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& argument) { return CopyCommand(argument).has_value(); });
}

int RunCopyFromCommandLine(const std::vector<std::string>& arguments) {
    try {
        const StartArguments parsed = ParseStartArguments(arguments);
        const fs::path folder = BookFolderAsked(parsed);
        CreateBookFolder(folder);
        const auto lock = TryLock(folder);
        if (!lock->isLocked()) throw BookFolderError(LockRefusal(*lock, folder));
        return RunCopyCommand(*parsed.copy, folder.string(), std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "kestrel-book: " << error.what() << std::endl;
        return 1;
    }
}

}  // namespace kb
