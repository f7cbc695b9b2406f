#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "store/store.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

using namespace std::chrono;

// Loans A1 and A10, each with one payment and one note: A1 must never touch A10's rows, nor A10 A1's.
struct Book {
    Book() {
        CreateTableFile(files.loanDB, TableNumber::Loans);
        CreateTableFile(files.pmtsDB, TableNumber::Payments);
        CreateTableFile(files.notesDB, TableNumber::Notes);
        for (const char* loanNbr : {"A1", "A10"}) {
            LoanRecord loan;
            loan.LoanNbr = loanNbr;
            loan.Balance = "1000.00";
            loan.NextPmtDT = year(2001) / 2 / 5;
            LoanTable(files.loanDB).add(loan);
            PaymentTable(files.pmtsDB).add(Payment(loanNbr, "01/05/2001", "1000.00", year(2001) / 2 / 5));
            NoteTable notes(files.notesDB);
            const std::int64_t id = notes.beginNote();
            notes.add({NoteKey(loanNbr, id), "01/05/2001", "Called", "", id});
        }
    }

    static PaymentRecord Payment(const std::string& loanNbr, const std::string& date, std::string balance,
                                 std::optional<Date> next) {
        PaymentRecord payment;
        payment.LoanNbr = PmtKey(loanNbr, date);
        payment.PmtDT = date;
        payment.Balance = std::move(balance);
        payment.NextPmtDT = next;
        return payment;
    }

    struct Contents {
        std::vector<LoanRecord> loans;
        std::vector<PaymentRecord> payments;
        std::vector<NoteRecord> notes;
        bool operator==(const Contents&) const = default;
    };
    Contents contents() const {
        Contents contents{LoanTable(files.loanDB).readAll(LoanOrder::ById), PaymentTable(files.pmtsDB).readAll(), {}};
        for (const char* loanNbr : {"A1", "A10", "B9"}) {
            for (NoteRecord& note : NoteTable(files.notesDB).readLoan(loanNbr)) contents.notes.push_back(note);
        }
        return contents;
    }

    static void Sql(const std::string& path, const std::string& text) {
        SQLite::Database(path, SQLite::OPEN_READWRITE).exec(text);
    }

    test::TempDir dir;
    BookFiles files{dir.file("KB_Loan.mdb"), dir.file("KB_Pmts.mdb"), dir.file("KB_Notes.mdb")};
};

std::string Refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& error) {
        return error.what();
    }
    return "";
}

TEST(BookOperations, RefusedWriteLeavesNothingBehind) {
    enum File { Loans, Payments, Notes };
    const std::string refuseLoanUpdate =
        "CREATE TRIGGER r BEFORE UPDATE ON KBLoan BEGIN SELECT RAISE(ABORT, 'refused'); END";
    const Date next = year(2001) / 3 / 5;
    struct Case {
        File file;
        std::string sql;
        std::function<void(const BookFiles&)> operation;
        std::string message;
    };
    const std::vector<Case> cases{
        {Loans, refuseLoanUpdate,
         [&](const BookFiles& f) { PostPayment(f, "A1", Book::Payment("A1", "02/05/2001", "900.00", next)); },
         "KB_Loan.mdb: refused"},
        {Loans, "", [&](const BookFiles& f) { PostPayment(f, "B9", Book::Payment("B9", "02/05/2001", "9.00", next)); },
         "Loan number B9 is not on file"},
        {Loans, "",
         [&](const BookFiles& f) { PostPayment(f, "A1", Book::Payment("A1", "02/05/2001", "12345678.90", next)); },
         "Balance holds at most 10 characters"},
        {Loans, refuseLoanUpdate,
         [&](const BookFiles& f) { DeletePayment(f, "A1", PmtKey("A1", "01/05/2001"), "1100.00", next); },
         "KB_Loan.mdb: refused"},
        {Loans, "", [&](const BookFiles& f) { DeletePayment(f, "A1", PmtKey("A1", "01/06/2001"), "1100.00", next); },
         "Payment not found: loan A1 has no payment dated 01/06/2001"},
        {Notes, "CREATE TRIGGER r BEFORE DELETE ON KBNotes BEGIN SELECT RAISE(ABORT, 'refused'); END",
         [](const BookFiles& f) { DeleteLoan(f, "A1"); }, "KB_Notes.mdb: refused"},
        {Loans, "CREATE TRIGGER r BEFORE DELETE ON KBLoan BEGIN SELECT RAISE(ABORT, 'refused'); END",
         [](const BookFiles& f) { DeleteLoan(f, "A1"); }, "KB_Loan.mdb: refused"},
        {Payments, "INSERT INTO KBPmts (LoanNbr) VALUES ('B9      20010105')",  // payments of a loan not on file
         [](const BookFiles& f) { DeleteLoan(f, "B9"); }, "Loan number B9 is not on file"},
    };
    for (const Case& c : cases) {
        Book book;
        const std::string paths[] = {book.files.loanDB, book.files.pmtsDB, book.files.notesDB};
        if (!c.sql.empty()) Book::Sql(paths[c.file], c.sql);
        const Book::Contents before = book.contents();
        EXPECT_EQ(Refusal([&] { c.operation(book.files); }), c.message);
        EXPECT_TRUE(book.contents() == before) << c.message;
    }
}

TEST(BookOperations, MissingFileIsNamedAndNotCreated) {
    Book book;
    std::filesystem::remove(book.files.pmtsDB);
    const auto before = LoanTable(book.files.loanDB).readAll(LoanOrder::ById);
    EXPECT_EQ(Refusal([&] { PostPayment(book.files, "A1", Book::Payment("A1", "02/05/2001", "9.00", {})); }),
              "KB_Pmts.mdb was not found");
    EXPECT_FALSE(std::filesystem::exists(book.files.pmtsDB));
    EXPECT_EQ(LoanTable(book.files.loanDB).readAll(LoanOrder::ById), before);
}

TEST(BookOperations, FilesLeftInWalModeAreSwitchedBack) {
    Book book;
    const std::string paths[] = {book.files.loanDB, book.files.pmtsDB, book.files.notesDB};
    Book::Sql(book.files.notesDB,
              "CREATE TRIGGER r BEFORE DELETE ON KBNotes BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const Book::Contents before = book.contents();
    for (const std::string& path : paths) Book::Sql(path, "PRAGMA journal_mode = WAL");
    EXPECT_EQ(Refusal([&] { DeleteLoan(book.files, "A1"); }), "KB_Notes.mdb: refused");
    for (const std::string& path : paths) {
        EXPECT_EQ(SQLite::Database(path).execAndGet("PRAGMA journal_mode").getString(), "delete") << path;
    }
    EXPECT_TRUE(book.contents() == before);
}

}  // namespace
}  // namespace kb
