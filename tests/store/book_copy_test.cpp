#include "store/book_copy.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <set>
#include <system_error>

#include "app/startup.h"
#include "store/backups.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;

// A book of two loans, a payment and a note, with its settings file, started in the working directory: the day's
// copy of the book, made by the start before the records were added, is in the backup folder.
class BookCopyTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        std::ofstream("KB.CFG", std::ios::binary) << "\"ACME\",#FALSE#,\"THANKS\",\"\"\r\n";
        ASSERT_TRUE(StartUp(kb));
        for (const char* number : {"A1", "B2"})
            LoanTable(kb.LoanDB).add({number, "Müller", "", "", "", "", "", "", "", "", "", "", "", "", {}, "", ""});
        PaymentTable(kb.PmtsDB).add({PmtKey("A1", "03/05/2026"), "03/05/2026", "", "", "", "", "", {}, "", ""});
        NoteTable(kb.NotesDB).add({NoteKey("A1", 1), "03/06/2026", "Called", "Promised, \"soon\"", 1});
    }
    auto contents() { return std::tuple(book.loans(LoanOrder::ById), book.notes("A1"), test::FileText("KB.CFG")); }
    // Every byte of the book's four files, as one fingerprint.
    std::size_t bookBytes() const {
        return std::hash<std::string>{}(test::FileText(kb.LoanDB) + test::FileText(kb.PmtsDB) + test::FileText(kb.NotesDB) + test::FileText("KB.CFG"));
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
    const fs::path dayCopy = fs::path(kBackupDir) / "2026-12-06";
};

TEST_F(BookCopyTest, ARestoredBackupIsTheBookAsItWasBackedUp) {
    const auto backedUp = contents();
    ASSERT_TRUE(BackUpBook(kb, dayCopy, "BACK UP NOW"));
    EXPECT_EQ(std::distance(fs::directory_iterator(kBackupDir), {}), 1);  // the start's copy replaced, nothing beside
    const CopySummary summary = CheckCopy(FilesOf(kb), dayCopy);
    EXPECT_EQ(std::tuple(summary.loans, summary.payments, summary.newestPayment),
              std::tuple(2, 1, Date{year{2026} / 3 / 5}));

    LoanTable(kb.LoanDB).remove("B2");
    std::ofstream("KB.CFG", std::ios::binary) << "\"OTHER\",#FALSE#,\"\",\"\"\r\n";
    RestoreBook(FilesOf(kb), "./KB.CFG", dayCopy, {});
    EXPECT_EQ(contents(), backedUp);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 5);  // the book, the backup folder, nothing else
}

// A backup that fails says so once, one cancelled leaves nothing, a damaged copy or a failed swap is refused: the
// book stays as it was.
TEST_F(BookCopyTest, AFailedOrCancelledBackupOrADamagedCopyLeavesTheBookAsItWas) {
    const std::size_t before = bookBytes();
    // A file that cannot be swapped in: the files already swapped in get their old selves back.
    fs::create_directories("KB_Notes.mdb.replaced/in-the-way");
    EXPECT_ANY_THROW(RestoreBook(FilesOf(kb), "./KB.CFG", dayCopy, {}));
    fs::remove_all("KB_Notes.mdb.replaced");
    // A file where the copy's folder goes stops even a user allowed to write anywhere.
    std::ofstream("in-the-way") << "a file";
    EXPECT_FALSE(BackUpBook(kb, "./in-the-way/2026-12-06", "BACK UP NOW"));
    kb.ShowProgress = [](const std::string&) { return [](std::uint64_t done, std::uint64_t) { return done == 0; }; };
    EXPECT_FALSE(BackUpBook(kb, dayCopy, "BACK UP NOW"));
    EXPECT_EQ(std::distance(fs::directory_iterator(kBackupDir), {}), 1);  // the day's copy alone
    const std::string failure = "The book could not be backed up in " + dir.file("in-the-way/2026-12-06") + ": " +
                                std::error_code(ENOTDIR, std::generic_category()).message() +
                                ". The book itself is unchanged.";
    EXPECT_EQ(dialogs.messages, std::vector<Message>({{failure, "BACK UP NOW", Buttons::OK, Icon::Critical}}));

    const struct { const char *file, *bytes, *refusal; } damages[] = {  // bytes nullptr: the file is missing
        {"KB_Pmts.mdb", "\x13\x37garbage bytes, not a database", "KB_Pmts.mdb is damaged (file is not a database)"},
        {"KB_Notes.mdb", nullptr, "KB_Notes.mdb is not in the folder"},
    };
    for (const auto& [file, bytes, refusal] : damages) {
        CopyBook(FilesOf(kb), "./KB.CFG", dayCopy, {});
        fs::remove(dayCopy / file);
        if (bytes) std::ofstream(dayCopy / file, std::ios::binary) << bytes;
        std::string said = "restored";
        try { RestoreBook(FilesOf(kb), "./KB.CFG", dayCopy, {}); } catch (const StoreError& why) { said = why.what(); }
        EXPECT_EQ(said, refusal);
    }
    EXPECT_EQ(bookBytes(), before);
}

// A year and a half of daily starts leaves the copies of the last 30 days and 12 month-firsts, and other folders.
TEST(BackupRetention, AYearOfDailyStartsKeepsThirtyDaysAndTwelveMonths) {
    std::set<std::string> kept{"before-restore-2026-01-01-101500"};
    const Date last = year{2027} / 6 / 15;
    for (Date day = year{2026} / 1 / 1; day <= last; day = AddDays(day, 1)) {
        if (day == Date{year{2026} / 9 / 1}) continue;  // a day the program was not started
        kept.insert(DatedFolderName(day));
        for (const std::string& name : ExpiredBackups({kept.begin(), kept.end()}, day)) kept.erase(name);
    }
    std::set<std::string> expected{"before-restore-2026-01-01-101500", "2026-07-01", "2026-08-01", "2026-09-02",
                                   "2026-10-01", "2026-11-01", "2026-12-01", "2027-01-01", "2027-02-01",
                                   "2027-03-01", "2027-04-01", "2027-05-01", "2027-06-01"};
    for (Date day = year{2027} / 5 / 17; day <= last; day = AddDays(day, 1)) expected.insert(DatedFolderName(day));
    EXPECT_EQ(kept, expected);
}

}  // namespace
}  // namespace kb
