#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/kbmain.h"
#include "store/store.h"

namespace kb {

// The backups of the book, kept in the backup folder of the data directory: one folder per day named YYYY-MM-DD
// (the daily copy, or the latest Back Up Now of that day), and a before-restore-YYYY-MM-DD-HHMMSS folder for the
// book as it was before each restore.
inline constexpr const char* kBackupDir = "./backup";

std::string DatedFolderName(Date day);
std::string BeforeRestoreFolderName(Date day, std::chrono::seconds sinceMidnight);

// The dated copies, of those named, that are no longer kept on `today`: the copies of the last 30 days (today
// included) stay, and so does the first copy of each of the last 12 months (this month included). Other names
// (the copies made before a restore, folders of the lender's own) are never removed.
std::vector<std::string> ExpiredBackups(const std::vector<std::string>& names, Date today);

// The copies in the backup folder, as a restore offers them: the dated copies newest first, then the copies made
// before a restore, newest first.
std::vector<std::string> BackupFolders(const std::filesystem::path& backupDir);

// The book's three files, as the shared values name them.
BookFiles FilesOf(const KBMain& kb);

// Copies the book into `folder`, showing the progress under `title`. A failure is shown once, naming the folder
// and the reason; the book itself is never touched. False when the copy failed or the lender cancelled it.
bool BackUpBook(KBMain& kb, const std::filesystem::path& folder, const std::string& title);

// The backup of the first start of the day: made when today has no copy yet, after which the copies no longer
// kept are removed.
void DailyBackup(KBMain& kb);

}  // namespace kb
