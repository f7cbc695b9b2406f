#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "store/schema.h"
#include "store/store.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

using namespace std::chrono;

class StoreTest : public ::testing::Test {
protected:
    StoreTest() {
        CreateTableFile(loanDB, TableNumber::Loans);
        CreateTableFile(pmtsDB, TableNumber::Payments);
        CreateTableFile(notesDB, TableNumber::Notes);
    }
    // Opens the file the way another program would: plain SQLite, nothing registered.
    void sql(const std::string& path, const std::string& text) {
        SQLite::Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE).exec(text);
    }

    test::TempDir dir;
    std::string loanDB = dir.file("KB_Loan.mdb"), pmtsDB = dir.file("KB_Pmts.mdb"), notesDB = dir.file("KB_Notes.mdb");
    LoanTable loans{loanDB};
    PaymentTable payments{pmtsDB};
    NoteTable notes{notesDB};
};

LoanRecord Loan(std::string nbr, std::string last = "", std::string first = "", std::optional<Date> due = {}) {
    LoanRecord loan;
    loan.LoanNbr = std::move(nbr);
    loan.LastNm = std::move(last);
    loan.FirstMI = std::move(first);
    loan.NextPmtDT = due;
    return loan;
}

PaymentRecord Payment(const std::string& loanNbr, const std::string& date) {
    PaymentRecord payment;
    payment.LoanNbr = PmtKey(loanNbr, date);
    payment.PmtDT = date;
    payment.Amount = "100.00";
    return payment;
}

NoteRecord Note(const std::string& loanNbr, std::int64_t id) {
    return {NoteKey(loanNbr, id), "03/05/2001", "Called", "Promised to pay", id};
}

// The description of the refusal, or "" when there was none.
std::string Refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& error) {
        return error.what();
    }
    return "";
}

template <class Record>
std::vector<std::string> Keys(const std::vector<Record>& records) {
    std::vector<std::string> keys;
    for (const Record& record : records) keys.push_back(record.LoanNbr);
    return keys;
}

TEST_F(StoreTest, TablesHaveTheirFieldsInOrder) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> files{
        {loanDB,
         {"LoanNbr", "LastNm", "FirstMI", "Street", "City", "State", "Zip", "Phone", "WrkPhone", "Collateral", "LoanDT",
          "LoanAmt", "APR", "PmtsPerYr", "NextPmtDT", "Payment", "Balance"}},
        {pmtsDB,
         {"LoanNbr", "PmtDT", "Amount", "LateFee", "NbrPmts", "Principal", "Interest", "NextPmtDT", "Balance",
          "ChkNbr"}},
        {notesDB, {"LoanNbr", "NoteDT", "Subject", "Note", "Note-ID"}}};
    for (const auto& [path, expected] : files) {
        SQLite::Database db(path);
        SQLite::Statement info(db, "SELECT name FROM pragma_table_info((SELECT name FROM sqlite_schema))");
        std::vector<std::string> names;
        while (info.executeStep()) names.push_back(info.getColumn(0).getString());
        EXPECT_EQ(names, expected) << path;
    }
}

TEST(StoreKeys, ComposeLoanNumberAndDateOrNoteNumber) {
    EXPECT_EQ(PmtKey("A17", "03/05/2001"), "A17     20010305");
    EXPECT_EQ(PmtKey("ABCDEFGH", "03/05/2001"), "ABCDEFGH20010305");
    EXPECT_EQ(PmtKey("ABCDEFGHIJ", "12/31/1999"), "ABCDEFGH19991231");
    EXPECT_EQ(PmtKey("A17   ", "03/05/2001"), "A17     20010305");
    EXPECT_EQ(NoteKey("A17", 42), "A17     0042");
    EXPECT_EQ(NoteKey("A17", 10000), "A17     10000");
}

TEST_F(StoreTest, LookupIgnoresCaseAndTrailingBlanks) {
    loans.add(Loan("A17", "SMITH"));
    ASSERT_TRUE(loans.find("a17   "));
    EXPECT_EQ(loans.find("a17   ")->LastNm, "SMITH");
    EXPECT_FALSE(loans.find("A1"));
    payments.add(Payment("A17", "03/05/2001"));
    EXPECT_TRUE(payments.find("a17     20010305"));
}

TEST_F(StoreTest, LoanReadsOnlyItsOwnPaymentsAndNotes) {
    for (const char* loanNbr : {"A1", "A10", "ABCDEFGH"}) {
        payments.add(Payment(loanNbr, "03/05/2001"));
        payments.add(Payment(loanNbr, "01/20/2001"));
        notes.add(Note(loanNbr, notes.beginNote()));
    }
    EXPECT_EQ(Keys(payments.readLoan("a1 ")), (std::vector<std::string>{"A1      20010120", "A1      20010305"}));
    EXPECT_EQ(Keys(payments.readLoan("A10")), (std::vector<std::string>{"A10     20010120", "A10     20010305"}));
    EXPECT_EQ(Keys(notes.readLoan("A1")), std::vector<std::string>{"A1      0001"});
    EXPECT_EQ(Keys(notes.readLoan("A10")), std::vector<std::string>{"A10     0002"});
    EXPECT_EQ(payments.readLoan("ABCDEFGH").size(), 2u);
    EXPECT_EQ(payments.readAll().size(), 6u);
}

TEST_F(StoreTest, LoansReadInTheThreeOrders) {
    loans.add(Loan("L1", "SMITH", "MARY", year(2001) / 3 / 1));
    loans.add(Loan("L2", "smith", "john", year(2001) / 2 / 1));
    loans.add(Loan("L3", "Adams", "", std::nullopt));
    loans.add(Loan("L4", "SMITH ", "Ada", year(2001) / 2 / 1));
    loans.add(Loan("L5", "SMITH", "Adam", year(2000) / 12 / 31));
    loans.add(Loan("l0", "SMITH", "JOHN", std::nullopt));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ById)), (std::vector<std::string>{"l0", "L1", "L2", "L3", "L4", "L5"}));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ByName)), (std::vector<std::string>{"L3", "L4", "L5", "l0", "L2", "L1"}));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ByDueDate)),
              (std::vector<std::string>{"l0", "L3", "L5", "L2", "L4", "L1"}));
}

TEST_F(StoreTest, RefusalsNameTheFieldOrKey) {
    loans.add(Loan("A17"));
    payments.add(Payment("A17", "03/05/2001"));
    notes.add(Note("A17", 42));
    const auto withLoan = [](auto change) {
        LoanRecord loan = Loan("B1");
        change(loan);
        return loan;
    };
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[&] { loans.add(Loan("a17")); }, "Loan number a17 is already on file"},
        {[&] { payments.add(Payment("A17", "03/05/2001")); }, "Loan A17 already has a payment dated 03/05/2001"},
        {[&] {
             notes.add({NoteKey("A17", 42), "", "", "", 99});
         },
         "Loan A17 already has note number 42"},
        {[&] { notes.add(Note("B1", 42)); }, "Note number 42 is already on file"},
        {[&] { loans.add(Loan("")); }, "The loan number is empty"},
        {[&] { loans.add(Loan("   ")); }, "The loan number is empty"},
        {[&] { payments.add(Payment("", "03/05/2001")); }, "The payment has no loan number"},
        {[&] { loans.add(Loan("ABCDEFGHI")); }, "Loan number holds at most 8 characters"},
        {[&] { loans.add(withLoan([](LoanRecord& l) { l.LastNm = std::string(16, 'X'); })); },
         "Last name holds at most 15 characters"},
        {[&] { loans.add(withLoan([](LoanRecord& l) { l.State = "NYC"; })); }, "State holds at most 2 characters"},
        {[&] { loans.add(withLoan([](LoanRecord& l) { l.NextPmtDT = year(2001) / 2 / 30; })); },
         "Next payment date is not a date"},
        {[&] {
             PaymentRecord p = Payment("A17", "04/05/2001");
             p.ChkNbr = "1234567";
             payments.add(p);
         },
         "Check number holds at most 6 characters"},
        {[&] {
             NoteRecord n = Note("A17", 43);
             n.Subject = std::string(21, 'S');
             notes.add(n);
         },
         "Subject holds at most 20 characters"},
        {[&] { notes.add(Note("A17", 123456789)); }, "Note key holds at most 16 characters"},
        {[&] { loans.update(Loan("B1")); }, "Loan number B1 is not on file"},
        {[&] { loans.remove("B1"); }, "Loan number B1 is not on file"},
        {[&] { payments.remove(PmtKey("A17", "03/06/2001")); },
         "Payment not found: loan A17 has no payment dated 03/06/2001"},
        {[&] { payments.update(Payment("B1", "03/05/2001")); },
         "Payment not found: loan B1 has no payment dated 03/05/2001"},
        {[&] { notes.remove(NoteKey("A17", 7)); }, "Note not found: loan A17 has no note number 7"},
    };
    for (const auto& [action, message] : cases) EXPECT_EQ(Refusal(action), message);
    EXPECT_EQ(loans.readAll(LoanOrder::ById).size(), 1u);
}

TEST_F(StoreTest, FilesThatAreNotOursAreRefusedByName) {
    std::ofstream(dir.file("text.mdb")) << "LoanNbr,LastNm\nA17,SMITH\n";
    sql(dir.file("other.mdb"), "CREATE TABLE Other (x)");
    sql(dir.file("old.mdb"), "CREATE TABLE KBLoan (LoanNbr TEXT PRIMARY KEY, Name TEXT)");
    const std::vector<std::pair<std::string, std::string>> cases{
        {dir.file("gone.mdb"), "gone.mdb was not found"},
        {dir.file("text.mdb"), "text.mdb is not a database file"},
        {pmtsDB, "KB_Pmts.mdb has no table KBLoan"},
        {dir.file("other.mdb"), "other.mdb has no table KBLoan"},
        {dir.file("old.mdb"), "old.mdb: table KBLoan has no field LastNm"},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(Refusal([&] { CheckTableFile(path, TableNumber::Loans); }), message);
        EXPECT_EQ(Refusal([&] { LoanTable(path).readAll(LoanOrder::ById); }), message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.mdb")));
    EXPECT_NO_THROW(CheckTableFile(notesDB, TableNumber::Notes));
}

TEST_F(StoreTest, MakeDBFileReportsFailureWithTheTableNumber) {
    test::ScriptedDialogs dialogs;
    MakeDBFile(dir.file("new.mdb"), 2, dialogs);
    EXPECT_NO_THROW(CheckTableFile(dir.file("new.mdb"), TableNumber::Payments));
    MakeDBFile(pmtsDB, 2, dialogs);
    MakeDBFile(dir.file("missing-dir/x.mdb"), 3, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], (test::ScriptedDialogs::Message{"KB_Pmts.mdb already exists/2", "MAKE DB FILE",
                                                                   Buttons::OK, Icon::Critical}));
    EXPECT_EQ(dialogs.messages[1].text, "x.mdb cannot be opened/3");
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing-dir/x.mdb")));
}

TEST_F(StoreTest, NoteNumbersAreNeverUsedTwice) {
    EXPECT_EQ(notes.beginNote(), 1);
    notes.add(Note("A17", 1));
    EXPECT_EQ(notes.beginNote(), 2);  // begun and abandoned
    EXPECT_EQ(notes.beginNote(), 3);
    notes.add(Note("A17", 3));
    notes.remove(NoteKey("a17", 3));
    EXPECT_EQ(notes.beginNote(), 4);
    sql(notesDB, "INSERT INTO KBNotes VALUES ('B2      0050', '', '', '', 50)");  // another program's note
    EXPECT_EQ(notes.beginNote(), 51);
}

TEST_F(StoreTest, NoteNumbersPast9999KeepTheirOrder) {
    sql(notesDB, "PRAGMA user_version = 9998");
    for (int i = 0; i < 2; ++i) notes.add(Note("A17", notes.beginNote()));
    EXPECT_EQ(Keys(notes.readLoan("A17")), (std::vector<std::string>{"A17     9999", "A17     10000"}));
}

TEST_F(StoreTest, LoanRowsAreReadByKeyRangeNotByScan) {
    for (const char* table : {"KBPmts", "KBNotes"}) {
        SQLite::Database db(std::string(table) == "KBPmts" ? pmtsDB : notesDB);
        SQLite::Statement plan(db, "EXPLAIN QUERY PLAN SELECT * FROM " + std::string(table) + " WHERE " +
                                       KeyRangeCondition() + " ORDER BY \"LoanNbr\"");
        plan.bind(1, "A1      ");
        plan.bind(2, "A1      :");
        std::string details;
        while (plan.executeStep()) details += plan.getColumn(3).getString() + ";";
        EXPECT_NE(details.find("SEARCH " + std::string(table) + " USING INDEX sqlite_autoindex_"), std::string::npos)
            << details;
        EXPECT_EQ(details.find("SCAN"), std::string::npos) << details;
    }
}

TEST_F(StoreTest, PaymentsAreReadByDateRangeAcrossYears) {
    for (const char* date : {"12/31/1999", "06/15/2000", "12/31/2000", "01/01/2001", "02/28/2001", "03/01/2001",
                             "12/30/2001", "01/01/2002", "3/15/2001"}) {
        payments.add(Payment("A1", date));
    }
    payments.add(Payment("B2", "02/28/2001"));
    const auto dates = [&](Date first, Date last) {
        std::vector<std::string> read;
        for (const PaymentRecord& payment : payments.readDateRange(first, last)) read.push_back(payment.PmtDT);
        std::sort(read.begin(), read.end());
        return read;
    };
    using Dates = std::vector<std::string>;
    // Both ends included; a date written otherwise ("3/15/2001") is left out.
    EXPECT_EQ(dates(year(2001) / 1 / 1, year(2001) / 3 / 1),
              (Dates{"01/01/2001", "02/28/2001", "02/28/2001", "03/01/2001"}));
    EXPECT_EQ(dates(year(2000) / 12 / 31, year(2001) / 1 / 1), (Dates{"01/01/2001", "12/31/2000"}));
    EXPECT_EQ(dates(year(2000) / 1 / 1, year(2002) / 1 / 1),
              (Dates{"01/01/2001", "01/01/2002", "02/28/2001", "02/28/2001", "03/01/2001", "06/15/2000", "12/30/2001",
                     "12/31/2000"}));
    EXPECT_EQ(dates(year(2001) / 3 / 2, year(2001) / 12 / 29), Dates{});
    EXPECT_EQ(dates(year(2001) / 3 / 1, year(2001) / 2 / 28), Dates{});
}

}  // namespace
}  // namespace kb
