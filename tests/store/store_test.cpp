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
using Texts = std::vector<std::string>;

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
Texts Keys(const std::vector<Record>& records) {
    Texts keys;
    for (const Record& record : records) keys.push_back(record.LoanNbr);
    return keys;
}

TEST_F(StoreTest, TablesHaveTheirFieldsInOrder) {
    const std::pair<std::string, std::string> files[] = {
        {loanDB, "LoanNbr,LastNm,FirstMI,Street,City,State,Zip,Phone,WrkPhone,Collateral,LoanDT,LoanAmt,APR,PmtsPerYr,"
                 "NextPmtDT,Payment,Balance"},
        {pmtsDB, "LoanNbr,PmtDT,Amount,LateFee,NbrPmts,Principal,Interest,NextPmtDT,Balance,ChkNbr"},
        {notesDB, "LoanNbr,NoteDT,Subject,Note,Note-ID"}};
    const char* query = "SELECT group_concat(name) FROM "
                        "(SELECT name FROM pragma_table_info((SELECT name FROM sqlite_schema)) ORDER BY cid)";
    for (const auto& [path, fields] : files) EXPECT_EQ(SQLite::Database(path).execAndGet(query).getString(), fields);
}

TEST(StoreKeys, ComposeLoanNumberAndDateOrNoteNumber) {
    EXPECT_EQ(PmtKey("A17   ", "12/31/1999"), "A17     19991231");
    EXPECT_EQ(PmtKey("ABCDEFGHIJ", "03/05/2001"), "ABCDEFGH20010305");
    EXPECT_EQ(NoteKey("A17", 42), "A17     0042");
}

// A1 and A10 share the beginning of their keys.
TEST_F(StoreTest, LoanIsFoundIgnoringCaseAndReadsOnlyItsOwnPaymentsAndNotes) {
    for (const char* loanNbr : {"A1", "A10", "ABCDEFGH"}) {
        loans.add(Loan(loanNbr, loanNbr));
        payments.add(Payment(loanNbr, "03/05/2001"));
        payments.add(Payment(loanNbr, "01/20/2001"));
        notes.add(Note(loanNbr, notes.beginNote()));
    }
    EXPECT_EQ(Keys(payments.readLoan("a1 ")), (Texts{"A1      20010120", "A1      20010305"}));
    EXPECT_EQ(Keys(payments.readLoan("A10")), (Texts{"A10     20010120", "A10     20010305"}));
    EXPECT_EQ(Keys(payments.readLoan("ABCDEFGH")), (Texts{"ABCDEFGH20010120", "ABCDEFGH20010305"}));
    EXPECT_EQ(Keys(notes.readLoan("A1")), Texts{"A1      0001"});
    EXPECT_EQ(Keys(notes.readLoan("A10")), Texts{"A10     0002"});
    EXPECT_EQ(loans.find("a10   ").value_or(LoanRecord{}).LastNm, "A10");
    EXPECT_FALSE(loans.find("A"));
    EXPECT_TRUE(payments.find("a1      20010305"));
}

TEST_F(StoreTest, LoansReadInTheThreeOrders) {
    loans.add(Loan("L1", "SMITH", "MARY", year(2001) / 3 / 1));
    loans.add(Loan("L2", "smith", "john", year(2001) / 2 / 1));
    loans.add(Loan("L3", "Adams", "", std::nullopt));
    loans.add(Loan("L4", "SMITH ", "Ada", year(2001) / 2 / 1));
    loans.add(Loan("L5", "SMITH", "Adam", year(2000) / 12 / 31));
    loans.add(Loan("l0", "SMITH", "JOHN", std::nullopt));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ById)), (Texts{"l0", "L1", "L2", "L3", "L4", "L5"}));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ByName)), (Texts{"L3", "L4", "L5", "l0", "L2", "L1"}));
    EXPECT_EQ(Keys(loans.readAll(LoanOrder::ByDueDate)), (Texts{"l0", "L3", "L5", "L2", "L4", "L1"}));
}

TEST_F(StoreTest, RefusalsNameTheFieldOrKey) {
    loans.add(Loan("A17"));
    payments.add(Payment("A17", "03/05/2001"));
    notes.add(Note("A17", 42));
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { loans.add(Loan("a17")); }, "Loan number a17 is already on file"},
        {[&] { payments.add(Payment("A17", "03/05/2001")); }, "Loan A17 already has a payment dated 03/05/2001"},
        {[&] { notes.add({NoteKey("A17", 42), "", "", "", 99}); }, "Loan A17 already has note number 42"},
        {[&] { notes.add(Note("B1", 42)); }, "Note number 42 is already on file"},
        {[&] { loans.add(Loan("   ")); }, "The loan number is empty"},
        {[&] { loans.add(Loan("ABCDEFGHI")); }, "Loan number holds at most 8 characters"},
        {[&] { loans.add(Loan("B1", std::string(16, 'X'))); }, "Last name holds at most 15 characters"},
        {[&] { loans.add(Loan("B1", "", "", year(2001) / 2 / 30)); }, "Next payment date is not a date"},
        {[&] { notes.add(Note("A17", 123456789)); }, "Note key holds at most 16 characters"},
        {[&] { loans.update(Loan("B1")); }, "Loan number B1 is not on file"},
        {[&] { payments.remove(PmtKey("A17", "03/06/2001")); },
         "Payment not found: loan A17 has no payment dated 03/06/2001"},
        {[&] { notes.remove(NoteKey("A17", 7)); }, "Note not found: loan A17 has no note number 7"},
    };
    for (const auto& [action, message] : cases) EXPECT_EQ(Refusal(action), message);
    EXPECT_EQ(loans.readAll(LoanOrder::ById).size(), 1u);
}

TEST_F(StoreTest, FilesThatAreNotOursAreRefusedByName) {
    std::ofstream(dir.file("text.mdb")) << "LoanNbr,LastNm\nA17,SMITH\n";
    sql(dir.file("old.mdb"), "CREATE TABLE KBLoan (LoanNbr TEXT PRIMARY KEY, Name TEXT)");
    sql(dir.file("renamed.mdb"), "CREATE TABLE KBLoan (Nbr TEXT PRIMARY KEY, LastNm TEXT)");
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("gone.mdb"), "gone.mdb was not found"},
        {dir.file("text.mdb"), "text.mdb is not a database file"},
        {pmtsDB, "KB_Pmts.mdb has no table KBLoan"},
        {dir.file("old.mdb"), "old.mdb: table KBLoan has no field LastNm"},
        {dir.file("renamed.mdb"), "renamed.mdb: table KBLoan has no field LoanNbr"},
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
    MakeDBFile(pmtsDB, 2, dialogs);
    MakeDBFile(dir.file("missing-dir/x.mdb"), 3, dialogs);
    const auto said = [](const char* text) {
        return test::ScriptedDialogs::Message{text, "MAKE DB FILE", Buttons::OK, Icon::Critical};
    };
    EXPECT_EQ(dialogs.messages, (std::vector{said("KB_Pmts.mdb already exists/2"), said("x.mdb cannot be opened/3")}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing-dir/x.mdb")));
}

// Past 9999 the key's text order would put note 10000 before 9999.
TEST_F(StoreTest, NoteNumbersAreNeverUsedTwiceAndKeepTheirOrderPast9999) {
    EXPECT_EQ(notes.beginNote(), 1);
    notes.add(Note("A17", 1));
    EXPECT_EQ(notes.beginNote(), 2);  // begun and abandoned
    notes.add(Note("A17", notes.beginNote()));
    notes.remove(NoteKey("a17", 3));
    EXPECT_EQ(notes.beginNote(), 4);
    sql(notesDB, "INSERT INTO KBNotes VALUES ('B2      0050', '', '', '', 50)");  // another program's note
    EXPECT_EQ(notes.beginNote(), 51);
    sql(notesDB, "PRAGMA user_version = 9998");
    for (int i = 0; i < 2; ++i) notes.add(Note("A17", notes.beginNote()));
    EXPECT_EQ(Keys(notes.readLoan("A17")), (Texts{"A17     0001", "A17     9999", "A17     10000"}));
}

TEST_F(StoreTest, PaymentsAreReadByDateRangeAcrossYears) {
    for (const char* date : {"12/31/1999", "06/15/2000", "12/31/2000", "01/01/2001", "02/28/2001", "03/01/2001",
                             "12/30/2001", "01/01/2002", "3/15/2001"})
        payments.add(Payment("A1", date));
    payments.add(Payment("B2", "02/28/2001"));
    // Both ends included, sorted as text here; a date written otherwise ("3/15/2001") is left out.
    const struct { Date first, last; Texts read; } cases[] = {
        {year(2001) / 1 / 1, year(2001) / 3 / 1, {"01/01/2001", "02/28/2001", "02/28/2001", "03/01/2001"}},
        {year(2001) / 3 / 2, year(2001) / 12 / 29, {}},
        {year(2002) / 1 / 1, year(2000) / 1 / 1, {}},
    };
    for (const auto& c : cases) {
        Texts read;
        for (const PaymentRecord& payment : payments.readDateRange(c.first, c.last)) read.push_back(payment.PmtDT);
        std::sort(read.begin(), read.end());
        EXPECT_EQ(read, c.read) << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace kb
