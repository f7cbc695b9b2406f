#include "list/book_copy_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "core/error_trap.h"
#include "server/book_copy.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kCopyLabel = "KBLst - mnu COPY BOOK";
constexpr const char* kNoServer = "NO BOOK SERVER IS SET UP: KB_SERVER.CFG IS NOT IN THE BOOK FOLDER";
constexpr const char* kConfirmToServer = "COPY THE BOOK OF THIS FOLDER'S FILES INTO THE EMPTY DATABASE ON THE SERVER?";
constexpr const char* kConfirmFromServer = "COPY THE BOOK ON THE SERVER INTO THIS FOLDER'S EMPTY FILES?";

void CopyBook(KBMain& kb, CopyDirection direction, const std::function<void()>& copied) {
    ErrorTrap trap(kb.dialogs, kCopyLabel);
    std::optional<ServerSettings> server;
    if (!trap.run([&] { server = ReadServerSettings("."); })) return;
    if (!server) {
        kb.dialogs.message(kNoServer, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    const bool toServer = direction == CopyDirection::ToServer;
    if (kb.dialogs.message(toServer ? kConfirmToServer : kConfirmFromServer, kAppTitle, Buttons::YesNo, Icon::None) !=
        Answer::Yes) {
        return;
    }
    const BookFiles files{kb.LoanDB, kb.PmtsDB, kb.NotesDB};
    BookCopy copy{};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = trap.run([&] {
        copy = toServer ? CopyFilesToServer(files, *server) : CopyServerToFiles(*server, files);
    });
    QApplication::restoreOverrideCursor();
    if (!done) return;
    kb.dialogs.message(CopyReport(copy), kAppTitle, Buttons::OK, Icon::None);
    copied();
}

}  // namespace

void AddBookCopyActions(QMenu* file, KBMain& kb, const std::function<void()>& copied) {
    file->addSeparator();
    QObject::connect(AddAction(file, "mnuCopyToServer", "Copy Book to &Server"), &QAction::triggered, file,
                     [&kb, copied] { CopyBook(kb, CopyDirection::ToServer, copied); });
    QObject::connect(AddAction(file, "mnuCopyFromServer", "Copy Book &from Server"), &QAction::triggered, file,
                     [&kb, copied] { CopyBook(kb, CopyDirection::FromServer, copied); });
    file->addSeparator();
}

}  // namespace kb
