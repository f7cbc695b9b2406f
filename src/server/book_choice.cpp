#include "server/book_choice.h"

#include "loanbook/sqlite_book.h"
#include "server/pg_book.h"

namespace kb {

std::unique_ptr<Book> OpenBook(const KBMain& kb, const std::string& folder) {
    try {
        if (const std::optional<ServerSettings> server = ReadServerSettings(folder)) {
            return std::make_unique<PgBook>(*server);
        }
    } catch (const StoreError& error) {
        throw StoreError(std::string("CAN'T OPEN THE BOOK ON THE SERVER\n\n") + error.what() + "\n\n" +
                         kServerSettingsFile +
                         " in the book folder puts the book on a server: check that file, the network and the "
                         "server, or remove the file to keep the book in this folder.");
    }
    return std::make_unique<SqliteBook>(kb);
}

}  // namespace kb
