#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/dates.h"
#include "core/progress.h"
#include "store/store.h"

namespace kb {

// Copies of the whole book: the three database files and the settings file, kept together in one folder under
// the names the book's own files have. Each throws StoreError saying why it failed (Cancelled when the lender
// cancelled); a copy that fails or is cancelled leaves nothing behind, and the book's own files are only read.

// Runs SQLite's integrity check over the database file; throws StoreError naming the file and what is wrong.
void CheckIntegrity(const std::string& path);

// Copies the book into `folder`, each database file with SQLite's online backup (a consistent copy even while
// another program reads the book) and checked before it counts; the settings file too when there is one. The copy
// is made in a temporary folder beside `folder` and renamed into place when whole, replacing an earlier copy of
// that name only then.
void CopyBook(const BookFiles& files, const std::string& configPath, const std::filesystem::path& folder,
              const Progress& progress);

// What a copy of the book holds.
struct CopySummary {
    std::int64_t loans = 0;
    std::int64_t payments = 0;
    std::optional<Date> newestPayment;
};

// Checks that `folder` holds a sound copy of each database file of the book, each with its table, and says what
// the copy holds.
CopySummary CheckCopy(const BookFiles& files, const std::filesystem::path& folder);

// Puts the copy in `folder` in place of the book's files, and of the settings file when the copy has one. Each
// file of the copy is checked, copied into a temporary file beside the one it replaces, checked again, and only
// when all are whole renamed over the book's files; a failure puts back any file already replaced.
void RestoreBook(const BookFiles& files, const std::string& configPath, const std::filesystem::path& folder,
                 const Progress& progress);

}  // namespace kb
