#include "store/backups.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/config.h"
#include "store/book_copy.h"

namespace kb {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBeforeRestorePrefix = "before-restore-";
constexpr const char* kDailyBackupTitle = "DAILY BACKUP";
constexpr long kDaysKept = 30;
constexpr int kMonthsKept = 12;

std::optional<Date> DateOfFolder(const std::string& name) { return FromIso(name); }

}  // namespace

std::string DatedFolderName(Date day) { return ToIso(day); }

std::string BeforeRestoreFolderName(Date day, std::chrono::seconds sinceMidnight) {
    const std::chrono::hh_mm_ss time(sinceMidnight);
    char clock[8];
    std::snprintf(clock, sizeof clock, "%02d%02d%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
    return kBeforeRestorePrefix + ToIso(day) + "-" + clock;
}

std::vector<std::string> ExpiredBackups(const std::vector<std::string>& names, Date today) {
    using namespace std::chrono;
    std::map<year_month, Date> firstOfMonth;
    for (const std::string& name : names) {
        if (const auto day = DateOfFolder(name)) {
            auto [first, added] = firstOfMonth.emplace(day->year() / day->month(), *day);
            if (!added) first->second = std::min(first->second, *day);
        }
    }
    const year_month thisMonth = today.year() / today.month();
    std::vector<std::string> expired;
    for (const std::string& name : names) {
        const auto day = DateOfFolder(name);
        if (!day || DaysBetween(*day, today) < kDaysKept) continue;
        const year_month month = day->year() / day->month();
        if (firstOfMonth.at(month) == *day && (thisMonth - month).count() < kMonthsKept) continue;
        expired.push_back(name);
    }
    return expired;
}

std::vector<std::string> BackupFolders(const fs::path& backupDir) {
    std::vector<std::string> dated;
    std::vector<std::string> beforeRestore;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(backupDir, error)) {
        if (!entry.is_directory(error)) continue;
        const std::string name = entry.path().filename().string();
        if (DateOfFolder(name)) dated.push_back(name);
        if (name.starts_with(kBeforeRestorePrefix)) beforeRestore.push_back(name);
    }
    std::sort(dated.rbegin(), dated.rend());
    std::sort(beforeRestore.rbegin(), beforeRestore.rend());
    dated.insert(dated.end(), beforeRestore.begin(), beforeRestore.end());
    return dated;
}

BookFiles FilesOf(const KBMain& kb) { return {kb.LoanDB, kb.PmtsDB, kb.NotesDB}; }

bool BackUpBook(KBMain& kb, const fs::path& folder, const std::string& title) {
    try {
        CopyBook(FilesOf(kb), kConfigPath, folder, kb.progressOf(title));
        return true;
    } catch (const Cancelled&) {
    } catch (const std::exception& error) {
        std::error_code ignored;
        const fs::path shown = fs::absolute(folder, ignored).lexically_normal();
        kb.dialogs.message("The book could not be backed up in " + shown.string() + ": " + error.what() +
                               ". The book itself is unchanged.",
                           title, Buttons::OK, Icon::Critical);
    }
    return false;
}

void DailyBackup(KBMain& kb) {
    const fs::path backupDir = kBackupDir;
    std::error_code error;
    if (fs::exists(backupDir / DatedFolderName(kb.clock.today()), error)) return;
    if (!BackUpBook(kb, backupDir / DatedFolderName(kb.clock.today()), kDailyBackupTitle)) return;
    for (const std::string& name : ExpiredBackups(BackupFolders(backupDir), kb.clock.today())) {
        fs::remove_all(backupDir / name, error);
    }
}

}  // namespace kb
