#include "store/book_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "store/backups.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

std::string Bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A book of two loans, a payment and a note, with its settings file, in the working directory.
class BookCopyTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        kb.LoanDB = "./KB_Loan.mdb";
        kb.PmtsDB = "./KB_Pmts.mdb";
        kb.NotesDB = "./KB_Notes.mdb";
        CreateTableFile(kb.LoanDB, TableNumber::Loans);
        CreateTableFile(kb.PmtsDB, TableNumber::Payments);
        CreateTableFile(kb.NotesDB, TableNumber::Notes);
        addLoan("A1");
        addLoan("B2");
        PaymentRecord payment;
        payment.LoanNbr = PmtKey("A1", "03/05/2026");
        payment.PmtDT = "03/05/2026";
        PaymentTable(kb.PmtsDB).add(payment);
        NoteTable(kb.NotesDB).add({NoteKey("A1", 1), "03/06/2026", "Called", "Promised, \"soon\"", 1});
        std::ofstream("KB.CFG", std::ios::binary) << "\"ACME\",#FALSE#,\"THANKS\",\"\"\r\n";
    }
    void addLoan(const std::string& number) {
        LoanRecord loan;
        loan.LoanNbr = number;
        loan.LastNm = "Müller";
        LoanTable(kb.LoanDB).add(loan);
    }
    // Every byte of the book's four files, as one fingerprint.
    std::size_t bookBytes() const {
        return std::hash<std::string>{}(Bytes(kb.LoanDB) + Bytes(kb.PmtsDB) + Bytes(kb.NotesDB) + Bytes("KB.CFG"));
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

TEST_F(BookCopyTest, ABackupReadsBackAsTheBook) {
    const fs::path folder = fs::path(kBackupDir) / "2026-12-06";
    CopyBook(FilesOf(kb), "./KB.CFG", folder, {});
    EXPECT_EQ(fs::directory_iterator(kBackupDir)->path(), folder);  // nothing else left behind
    KBMain copyKb = kb;
    copyKb.LoanDB = (folder / "KB_Loan.mdb").string();
    copyKb.PmtsDB = (folder / "KB_Pmts.mdb").string();
    copyKb.NotesDB = (folder / "KB_Notes.mdb").string();
    SqliteBook copy(copyKb);
    EXPECT_EQ(copy.loans(LoanOrder::ById), book.loans(LoanOrder::ById));
    EXPECT_EQ(copy.payments("A1"), book.payments("A1"));
    EXPECT_EQ(copy.notes("A1"), book.notes("A1"));
    EXPECT_EQ(Bytes(folder / "KB.CFG"), Bytes("KB.CFG"));
    const CopySummary summary = CheckCopy(FilesOf(kb), folder);
    EXPECT_EQ(summary.loans, 2);
    EXPECT_EQ(summary.payments, 1);
    EXPECT_EQ(summary.newestPayment, year{2026} / 3 / 5);
}

TEST_F(BookCopyTest, AFailedOrCancelledBackupLeavesNothingAndTheBookAsItWas) {
    const std::size_t before = bookBytes();
    // A file where the backup folder goes stops even a user allowed to write anywhere.
    std::ofstream(kBackupDir) << "in the way";
    DailyBackup(kb);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The book could not be backed up in " + (dir.path() / "backup/2026-12-06").string() +
                                            ": Not a directory. The book itself is unchanged.");
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    fs::remove(kBackupDir);

    kb.ShowProgress = [](const std::string&) { return [](std::uint64_t done, std::uint64_t) { return done == 0; }; };
    EXPECT_FALSE(BackUpBook(kb, fs::path(kBackupDir) / "2026-12-06", "BACK UP NOW"));
    EXPECT_TRUE(fs::is_empty(kBackupDir));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(bookBytes(), before);
}

TEST_F(BookCopyTest, ARestorePutsTheCopyInPlace) {
    const fs::path folder = fs::path(kBackupDir) / "2026-12-06";
    CopyBook(FilesOf(kb), "./KB.CFG", folder, {});
    const std::vector<LoanRecord> copied = book.loans(LoanOrder::ById);
    const std::string settings = Bytes("KB.CFG");
    addLoan("C3");
    std::ofstream("KB.CFG", std::ios::binary) << "\"OTHER\",#FALSE#,\"\",\"\"\r\n";
    RestoreBook(FilesOf(kb), "./KB.CFG", folder, {});
    EXPECT_EQ(book.loans(LoanOrder::ById), copied);
    EXPECT_EQ(book.payments("A1").size(), 1u);
    EXPECT_EQ(Bytes("KB.CFG"), settings);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 5);  // the book, the backup folder, nothing else
}

TEST_F(BookCopyTest, ADamagedCopyIsRefusedAndTheBookLeftAsItWas) {
    const fs::path folder = fs::path(kBackupDir) / "2026-12-06";
    struct Damage {
        const char* file;
        const char* bytes;  // nullptr: the file is missing
        const char* refusal;
    };
    const Damage damages[] = {
        {"KB_Pmts.mdb", "\x13\x37garbage bytes, not a database", "KB_Pmts.mdb is damaged (file is not a database)"},
        {"KB_Notes.mdb", nullptr, "KB_Notes.mdb is not in the folder"},
    };
    for (const Damage& damage : damages) {
        CopyBook(FilesOf(kb), "./KB.CFG", folder, {});
        fs::remove(folder / damage.file);
        if (damage.bytes) std::ofstream(folder / damage.file, std::ios::binary) << damage.bytes;
        const std::size_t before = bookBytes();
        try {
            RestoreBook(FilesOf(kb), "./KB.CFG", folder, {});
            ADD_FAILURE() << damage.file << " was restored";
        } catch (const StoreError& error) {
            EXPECT_EQ(error.what(), std::string(damage.refusal));
        }
        EXPECT_EQ(bookBytes(), before) << damage.file;
    }
}

// A year and a half of daily starts: at the end the copies of the last 30 days and the first of each of the last
// 12 months are there, nothing else.
TEST(BackupRetention, AYearOfDailyStartsKeepsThirtyDaysAndTwelveMonths) {
    std::vector<std::string> kept;
    const Date last = year{2027} / 6 / 15;
    for (Date day = year{2026} / 1 / 1; day <= last; day = AddDays(day, 1)) {
        if (day == Date{year{2026} / 9 / 1}) continue;  // a day the program was not started
        kept.push_back(DatedFolderName(day));
        kept.push_back("before-restore-" + DatedFolderName(day) + "-101500");
        const std::vector<std::string> expired = ExpiredBackups(kept, day);
        std::erase_if(kept, [&](const std::string& name) { return std::ranges::count(expired, name) > 0; });
    }
    std::set<std::string> dated;
    for (const std::string& name : kept) {
        if (!name.starts_with("before")) dated.insert(name);
    }
    std::set<std::string> expected{"2026-07-01", "2026-08-01", "2026-09-02", "2026-10-01", "2026-11-01",
                                   "2026-12-01", "2027-01-01", "2027-02-01", "2027-03-01", "2027-04-01",
                                   "2027-05-01", "2027-06-01"};
    for (Date day = year{2027} / 5 / 17; day <= last; day = AddDays(day, 1)) expected.insert(DatedFolderName(day));
    EXPECT_EQ(dated, expected);
    EXPECT_EQ(kept.size() - dated.size(), 530u);  // the copies made before a restore all stay
}

}  // namespace
}  // namespace kb
