#include "store/book_copy.h"

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <array>
#include <utility>
#include <vector>

#include "core/config.h"
#include "store/sqlite_errors.h"

namespace kb {

namespace fs = std::filesystem;

namespace {

constexpr int kPagesPerStep = 256;
constexpr int kBusyTimeoutMs = 2000;
constexpr int kBusyRetryMs = 20;
// The integrity check asks whether to go on after this many of SQLite's virtual machine steps.
constexpr int kStepsBetweenQuestions = 200000;

struct DatabaseFile {
    const std::string* path;
    TableNumber table;
};

std::array<DatabaseFile, 3> DatabaseFiles(const BookFiles& files) {
    return {{{&files.loanDB, TableNumber::Loans},
             {&files.pmtsDB, TableNumber::Payments},
             {&files.notesDB, TableNumber::Notes}}};
}

std::uint64_t SizeOf(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

// How far a copy of several files has come, in bytes; the lender may cancel at each report.
class CopyMeter {
public:
    CopyMeter(const Progress& progress, std::uint64_t total) : progress_(progress), total_(total) {}
    bool goOn(std::uint64_t doneInFile) const { return !progress_ || progress_(finished_ + doneInFile, total_); }
    void report(std::uint64_t doneInFile) const {
        if (!goOn(doneInFile)) throw Cancelled();
    }
    void finish(std::uint64_t fileSize) {
        finished_ += fileSize;
        report(0);
    }

private:
    const Progress& progress_;
    std::uint64_t total_;
    std::uint64_t finished_ = 0;
};

// Runs the integrity check; `goOn` is asked now and then and stops the check when it says no.
void CheckIntegrity(const std::string& path, const std::function<bool()>& goOn) {
    std::string result;
    bool cancelled = false;
    try {
        SQLite::Database db(path, SQLite::OPEN_READONLY, kBusyTimeoutMs);
        std::pair<const std::function<bool()>*, bool*> watch{&goOn, &cancelled};
        if (goOn) {
            sqlite3_progress_handler(db.getHandle(), kStepsBetweenQuestions, [](void* context) {
                auto* watching = static_cast<std::pair<const std::function<bool()>*, bool*>*>(context);
                *watching->second = !(*watching->first)();
                return *watching->second ? 1 : 0;
            }, &watch);
        }
        SQLite::Statement check(db, "PRAGMA integrity_check(1)");
        result = check.executeStep() ? check.getColumn(0).getString() : "no answer from the check";
    } catch (const SQLite::Exception& error) {
        if (cancelled) throw Cancelled();
        result = error.what();
    }
    if (result != "ok") throw StoreError(FileName(path) + " is damaged (" + result + ")");
}

// Copies one database file with SQLite's online backup, then checks the copy.
void BackUpDatabase(const std::string& from, const fs::path& to, CopyMeter& meter) {
    const std::uint64_t size = SizeOf(from);
    try {
        SQLite::Database source(from, SQLite::OPEN_READONLY, kBusyTimeoutMs);
        SQLite::Database target(to.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        SQLite::Backup backup(target, source);
        int waits = 0;
        for (int step = SQLITE_OK; step != SQLITE_DONE;) {
            step = backup.executeStep(kPagesPerStep);
            if (step == SQLITE_BUSY || step == SQLITE_LOCKED) {
                if (++waits * kBusyRetryMs > kBusyTimeoutMs) {
                    throw StoreError(FileName(from) + " is being changed by another program; try again later");
                }
                sqlite3_sleep(kBusyRetryMs);
            }
            const auto pages = static_cast<std::uint64_t>(backup.getTotalPageCount());
            const auto remaining = static_cast<std::uint64_t>(backup.getRemainingPageCount());
            meter.report(pages ? size * (pages - remaining) / pages : 0);
        }
    } catch (const SQLite::Exception& error) {
        throw StoreError(FileName(from) + " could not be copied (" + error.what() + ")");
    }
    CheckIntegrity(to.string(), [&] { return meter.goOn(size); });
    meter.finish(size);
}

// A file system failure told as its reason, the way the system words it ("Permission denied").
template <class Action>
void InFiles(Action&& action) {
    try {
        action();
    } catch (const fs::filesystem_error& error) {
        throw StoreError(error.code().message());
    }
}

fs::path Beside(const fs::path& path, const char* suffix) {
    return path.parent_path() / ("." + path.filename().string() + suffix);
}

// The finished folder `fresh` takes the place of `folder`; an earlier folder of that name goes only then.
void ReplaceFolder(const fs::path& fresh, const fs::path& folder) {
    const fs::path earlier = Beside(folder, ".replaced");
    fs::remove_all(earlier);
    const bool replacing = fs::exists(folder);
    if (replacing) fs::rename(folder, earlier);
    std::error_code error;
    fs::rename(fresh, folder, error);
    if (error) {
        if (replacing) fs::rename(earlier, folder);
        throw fs::filesystem_error("rename", fresh, folder, error);
    }
    fs::remove_all(earlier);
}

// A file of the book and the new file that is to replace it.
struct Replacement {
    fs::path fresh;
    fs::path live;
    fs::path replaced() const { return live.string() + ".replaced"; }
};

// Renames each fresh file over its live one. When one rename fails, every file already replaced gets its old
// self back.
void SwapIn(const std::vector<Replacement>& replacements) {
    std::size_t swapped = 0;
    try {
        for (; swapped < replacements.size(); ++swapped) {
            const Replacement& file = replacements[swapped];
            if (fs::exists(file.live)) fs::rename(file.live, file.replaced());
            fs::rename(file.fresh, file.live);
        }
    } catch (...) {
        std::error_code ignored;
        for (std::size_t i = 0; i <= swapped && i < replacements.size(); ++i) {
            const Replacement& file = replacements[i];
            if (fs::exists(file.replaced(), ignored)) {
                fs::rename(file.replaced(), file.live, ignored);
            } else if (i < swapped) {
                fs::remove(file.live, ignored);
            }
        }
        throw;
    }
    std::error_code ignored;
    for (const Replacement& file : replacements) fs::remove(file.replaced(), ignored);
}

std::int64_t CountOf(SQLite::Database& db, const char* table) {
    return db.execAndGet(std::string("SELECT count(*) FROM ") + table).getInt64();
}

// The newest payment date of the payments file; dates not written mm/dd/yyyy are left out.
std::optional<Date> NewestPayment(SQLite::Database& db) {
    const std::string newest = db.execAndGet(
        "SELECT max(substr(PmtDT, 7, 4) || '/' || substr(PmtDT, 1, 5)) FROM KBPmts "
        "WHERE PmtDT GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'").getString();
    if (newest.size() != 10) return std::nullopt;
    return ParseStoredDate(newest.substr(5) + "/" + newest.substr(0, 4));
}

}  // namespace

void CheckIntegrity(const std::string& path) { CheckIntegrity(path, {}); }

void CopyBook(const BookFiles& files, const std::string& configPath, const fs::path& folder,
              const Progress& progress) {
    const fs::path partial = Beside(folder, ".partial");
    try {
        InFiles([&] {
            fs::remove_all(partial);
            fs::create_directories(partial);
            std::uint64_t total = 0;
            for (const DatabaseFile& file : DatabaseFiles(files)) total += SizeOf(*file.path);
            CopyMeter meter(progress, total);
            for (const DatabaseFile& file : DatabaseFiles(files)) {
                BackUpDatabase(*file.path, partial / FileName(*file.path), meter);
            }
            if (FileExists(configPath)) fs::copy_file(configPath, partial / FileName(configPath));
            ReplaceFolder(partial, folder);
        });
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        throw;
    }
}

CopySummary CheckCopy(const BookFiles& files, const fs::path& folder) {
    for (const DatabaseFile& file : DatabaseFiles(files)) {
        const fs::path copy = folder / FileName(*file.path);
        if (!FileExists(copy.string())) throw StoreError(FileName(*file.path) + " is not in the folder");
        CheckIntegrity(copy.string());
        CheckTableFile(copy.string(), file.table);
    }
    try {
        CopySummary summary;
        SQLite::Database loans((folder / FileName(files.loanDB)).string(), SQLite::OPEN_READONLY, kBusyTimeoutMs);
        summary.loans = CountOf(loans, "KBLoan");
        SQLite::Database payments((folder / FileName(files.pmtsDB)).string(), SQLite::OPEN_READONLY,
                                  kBusyTimeoutMs);
        summary.payments = CountOf(payments, "KBPmts");
        summary.newestPayment = NewestPayment(payments);
        return summary;
    } catch (const SQLite::Exception& error) {
        throw StoreError(std::string("the copy cannot be read (") + error.what() + ")");
    }
}

void RestoreBook(const BookFiles& files, const std::string& configPath, const fs::path& folder,
                 const Progress& progress) {
    CheckCopy(files, folder);
    std::vector<Replacement> replacements;
    try {
        InFiles([&] {
            std::uint64_t total = 0;
            for (const DatabaseFile& file : DatabaseFiles(files)) total += SizeOf(folder / FileName(*file.path));
            CopyMeter meter(progress, total);
            for (const DatabaseFile& file : DatabaseFiles(files)) {
                const Replacement& replacement =
                    replacements.emplace_back(Replacement{*file.path + ".restoring", *file.path});
                fs::remove(replacement.fresh);
                BackUpDatabase((folder / FileName(*file.path)).string(), replacement.fresh, meter);
            }
            const fs::path configCopy = folder / FileName(configPath);
            if (FileExists(configCopy.string())) {
                const Replacement& replacement =
                    replacements.emplace_back(Replacement{configPath + ".restoring", configPath});
                fs::copy_file(configCopy, replacement.fresh, fs::copy_options::overwrite_existing);
            }
            SwapIn(replacements);
        });
    } catch (...) {
        std::error_code ignored;
        for (const Replacement& replacement : replacements) fs::remove(replacement.fresh, ignored);
        throw;
    }
}

}  // namespace kb
