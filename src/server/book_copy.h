#pragma once
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "core/currency.h"
#include "server/server_settings.h"
#include "store/store.h"

namespace kb {

// What a book adds up to: compared between a book and its copy.
struct BookFigures {
    std::size_t loans = 0;
    std::size_t payments = 0;
    std::size_t notes = 0;
    Currency balances;  // the loans' Balance
    Currency amounts;   // the payments' Amount
    bool operator==(const BookFigures&) const = default;
};
BookFigures FiguresOf(const BookContents& book);

enum class CopyDirection { ToServer, FromServer };

// A book copied, and the figures of the original and of the copy as read back after the copy.
struct BookCopy {
    CopyDirection direction;
    BookFigures original;
    BookFigures copy;
    bool agrees() const { return original == copy; }
};

// The SQLite files copied into the server's empty database, in one transaction.
BookCopy CopyFilesToServer(const BookFiles& files, const ServerSettings& server);
// The server's book copied into the SQLite files, created when missing and otherwise empty, in one transaction.
BookCopy CopyServerToFiles(const ServerSettings& server, const BookFiles& files);

// The figures side by side, and whether they agree.
std::string CopyReport(const BookCopy& copy);

// The command-line argument of a copy: --copy-book-to-server or --copy-book-from-server.
std::optional<CopyDirection> CopyCommand(std::string_view argument);
// Copies the book of `folder` as its KB_SERVER.CFG names the server and writes the report to `out`, or what went
// wrong to `err`. Returns the program's exit code: 0 when the copy agrees with the original.
int RunCopyCommand(CopyDirection direction, const std::string& folder, std::ostream& out, std::ostream& err);

}  // namespace kb
