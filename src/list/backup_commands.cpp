#include "list/backup_commands.h"

#include <QDir>
#include <QTime>
#include <filesystem>

#include "core/config.h"
#include "loanbook/csv_export.h"
#include "store/backups.h"
#include "store/book_copy.h"

namespace kb {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBackUpNowTitle = "BACK UP NOW";
constexpr const char* kBackUpToTitle = "BACK UP TO";
constexpr const char* kRestoreTitle = "RESTORE FROM BACKUP";
constexpr const char* kExportTitle = "EXPORT";
constexpr const char* kBackUpToFolderPrefix = "kestrel-book-";
constexpr const char* kChooseCopy = "Choose the copy of the book to restore:";
constexpr const char* kAnotherFolder = "Another folder...";

std::string Shown(const fs::path& folder) {
    std::error_code ignored;
    return fs::absolute(folder, ignored).lexically_normal().string();
}

void Tell(KBMain& kb, const std::string& text, const std::string& title) {
    kb.dialogs.message(text, title, Buttons::OK, Icon::None);
}

void Refuse(KBMain& kb, const std::string& text, const std::string& title) {
    kb.dialogs.message(text, title, Buttons::OK, Icon::Critical);
}

void BackUpInto(KBMain& kb, const fs::path& folder, const std::string& title) {
    if (BackUpBook(kb, folder, title)) Tell(kb, "The book was backed up in " + Shown(folder) + ".", title);
}

// The copy to restore: one of the backup folder, or a folder the lender picks (one Back Up To made).
std::optional<fs::path> ChooseCopy(KBMain& kb) {
    std::vector<std::string> items = BackupFolders(kBackupDir);
    items.push_back(kAnotherFolder);
    const auto chosen = kb.dialogs.chooseItem(kChooseCopy, kRestoreTitle, items);
    if (!chosen) return std::nullopt;
    if (*chosen + 1 < items.size()) return fs::path(kBackupDir) / items[*chosen];
    const auto folder = kb.dialogs.chooseFolder(kRestoreTitle, Shown(kBackupDir));
    if (!folder) return std::nullopt;
    return fs::path(*folder);
}

std::string Holding(const CopySummary& summary) {
    std::string text = std::to_string(summary.loans) + " loans and " + std::to_string(summary.payments) + " payments";
    if (summary.newestPayment) text += ", the newest dated " + FormatDate(*summary.newestPayment, "mm/dd/yyyy");
    return text;
}

fs::path BeforeRestoreFolder(KBMain& kb) {
    const auto now = std::chrono::seconds(QTime::currentTime().msecsSinceStartOfDay() / 1000);
    return fs::path(kBackupDir) / BeforeRestoreFolderName(kb.clock.today(), now);
}

bool ConfirmRestore(KBMain& kb, const fs::path& copy, const CopySummary& summary, const fs::path& beforeRestore) {
    const std::string question = "The copy in " + Shown(copy) + " holds " + Holding(summary) +
                                 ".\n\nPut it in place of the book? The book as it is now is first backed up in " +
                                 Shown(beforeRestore) + ".";
    return kb.dialogs.message(question, kRestoreTitle, Buttons::YesNo, Icon::None) == Answer::Yes;
}

// The copy put in place and its settings read; false when that failed (said) or was cancelled.
bool PutInPlace(KBMain& kb, const fs::path& copy) {
    try {
        RestoreBook(FilesOf(kb), kConfigPath, copy, kb.progressOf(kRestoreTitle));
    } catch (const Cancelled&) {
        return false;
    } catch (const std::exception& error) {
        Refuse(kb, "The copy in " + Shown(copy) + " could not be restored: " + error.what() +
                       ". The book is unchanged.", kRestoreTitle);
        return false;
    }
    try {
        if (FileExists(kConfigPath)) LoadSettings(kb, kConfigPath);
    } catch (const ConfigError& error) {
        Refuse(kb, std::string("KB.CFG cannot be read: ") + error.what(), kRestoreTitle);
    }
    return true;
}

}  // namespace

void BackUpNow(KBMain& kb) {
    BackUpInto(kb, fs::path(kBackupDir) / DatedFolderName(kb.clock.today()), kBackUpNowTitle);
}

void BackUpTo(KBMain& kb) {
    const auto folder = kb.dialogs.chooseFolder(kBackUpToTitle, QDir::homePath().toStdString());
    if (!folder) return;
    BackUpInto(kb, fs::path(*folder) / (kBackUpToFolderPrefix + DatedFolderName(kb.clock.today())), kBackUpToTitle);
}

bool RestoreFromBackup(KBMain& kb) {
    const auto copy = ChooseCopy(kb);
    if (!copy) return false;
    CopySummary summary;
    try {
        summary = CheckCopy(FilesOf(kb), *copy);
    } catch (const std::exception& error) {
        Refuse(kb, "The copy in " + Shown(*copy) + " cannot be restored: " + error.what() + ". The book is unchanged.",
               kRestoreTitle);
        return false;
    }
    const fs::path beforeRestore = BeforeRestoreFolder(kb);
    if (!ConfirmRestore(kb, *copy, summary, beforeRestore)) return false;
    if (!BackUpBook(kb, beforeRestore, kRestoreTitle) || !PutInPlace(kb, *copy)) return false;
    Tell(kb, "The copy in " + Shown(*copy) + " is now the book.", kRestoreTitle);
    return true;
}

void ExportToFolder(KBMain& kb) {
    const auto folder = kb.dialogs.chooseFolder(kExportTitle, QDir::homePath().toStdString());
    if (!folder) return;
    try {
        ExportBook(*kb.book, *folder, kb.progressOf(kExportTitle));
        Tell(kb, std::string("The book was written to ") + kLoansCsv + ", " + kPaymentsCsv + " and " + kNotesCsv +
                     " in " + Shown(*folder) + ".", kExportTitle);
    } catch (const Cancelled&) {
    } catch (const std::exception& error) {
        Refuse(kb, "The book could not be exported to " + Shown(*folder) + ": " + error.what() +
                       ". No file was written.", kExportTitle);
    }
}

}  // namespace kb
