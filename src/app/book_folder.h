#pragma once
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/book_copy.h"

namespace kb {

// Why the book's folder cannot be opened, in words for the lender.
class BookFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line asks for: the book's folder given with --book FOLDER (or --book=FOLDER), or none; and a
// copy of the book between its files and the server (--copy-book-to-server, --copy-book-from-server) in place of
// the windows. Throws BookFolderError for --book without a folder and for an argument the program does not know.
struct StartArguments {
    std::optional<std::filesystem::path> book;
    std::optional<CopyDirection> copy;
};
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

// The folder whose book the program opens: the one asked for (relative to `current`); otherwise `current` when it
// already holds a book; otherwise the folder Kestrel-Book in `home`. Throws BookFolderError when that is needed and
// there is no home folder.
std::filesystem::path ChooseBookFolder(const std::optional<std::filesystem::path>& asked,
                                       const std::filesystem::path& current, const std::string& home);

// Creates the book's folder with its parents when it is missing. Throws BookFolderError saying why it cannot.
void CreateBookFolder(const std::filesystem::path& folder);

// Copies the help file from `helpSource` into the book's folder when the folder has none; a missing source is no
// error (the help viewer then says the file is missing). Throws BookFolderError when the copy fails; no part of
// the help file is left behind then.
void CopyHelpFileIn(const std::filesystem::path& folder, const std::filesystem::path& helpSource);

// The help file that comes with the program: share/kestrel-book beside the folder of the executable, in the
// installed program (/usr/bin and /usr/share) as in the build tree.
std::filesystem::path ShippedHelpFile(const std::filesystem::path& executableFolder);

}  // namespace kb
