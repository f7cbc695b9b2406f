#include "loanbook/csv_export.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;
using namespace std::chrono;

// A CSV text read as RFC 4180 has it, after the UTF-8 byte order mark; a line not ended by CR LF fails the test.
Rows ReadCsv(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << path;
    Rows rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 3; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (quoted && c == '"' && next == '"') {
            field += c;
            ++i;
        } else if (c == '"' && (quoted || field.empty())) {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || (c == '\r' && next == '\n'))) {
            rows.back().push_back(std::move(field));
            field.clear();
            if (c == '\r') rows.emplace_back(), ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && rows.back().empty()) << path << " does not end with CR LF";
    rows.pop_back();
    return rows;
}

LoanRecord PlainLoan(const std::string& number) {
    LoanRecord loan;
    loan.LoanNbr = number;
    loan.LastNm = "Plain";
    return loan;
}

class CsvExportTest : public ::testing::Test, protected test::Doubles {
protected:
    CsvExportTest() {
        kb.LoanDB = dir.file("KB_Loan.mdb");
        kb.PmtsDB = dir.file("KB_Pmts.mdb");
        kb.NotesDB = dir.file("KB_Notes.mdb");
        CreateTableFile(kb.LoanDB, TableNumber::Loans);
        CreateTableFile(kb.PmtsDB, TableNumber::Payments);
        CreateTableFile(kb.NotesDB, TableNumber::Notes);
    }
    test::TempDir dir;
};

TEST_F(CsvExportTest, TheFilesReadBackFieldForField) {
    LoanRecord loan{"A1",         "Müller, \"Jo\"", "Zoë\nAnn",  "1 Rue d'Été,\r\nApt 2", "Köln", "NY", "10001",
                    "555-0100",   "",               "Ford F-150", "03/05/2026",            "   1500.00", " 18.5",
                    "12",         year{2026} / 4 / 5, "  140.00", "  1360.00"};
    LoanTable(kb.LoanDB).add(loan);
    LoanTable(kb.LoanDB).add(PlainLoan("B2"));
    PaymentTable(kb.PmtsDB).add({PmtKey("A1", "04/05/2026"), "04/05/2026", "  140.00", "    0.00", "1", "  117.50",
                                 "   22.50", year{2026} / 5 / 5, " 1242.50", "10\"1"});
    NoteTable(kb.NotesDB).add({NoteKey("A1", 7), "04/06/2026", "Called, twice", "Said \"next week\"\r\nthen hung up", 7});

    ExportBook(book, dir.path(), {});

    const struct {
        const char* file;
        Rows rows;
    } expected[] = {
        {kLoansCsv,
         {{"LoanNbr", "LastNm", "FirstMI", "Street", "City", "State", "Zip", "Phone", "WrkPhone", "Collateral",
           "LoanDT", "LoanAmt", "APR", "PmtsPerYr", "NextPmtDT", "Payment", "Balance"},
          {"A1", "Müller, \"Jo\"", "Zoë\nAnn", "1 Rue d'Été,\r\nApt 2", "Köln", "NY", "10001", "555-0100", "",
           "Ford F-150", "2026-03-05", "1500.00", "18.5", "12", "2026-04-05", "140.00", "1360.00"},
          {"B2", "Plain", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}}},
        {kPaymentsCsv,
         {{"LoanNbr", "PmtDT", "Amount", "LateFee", "NbrPmts", "Principal", "Interest", "NextPmtDT", "Balance",
           "ChkNbr"},
          {"A1      20260405", "2026-04-05", "140.00", "0.00", "1", "117.50", "22.50", "2026-05-05", "1242.50",
           "10\"1"}}},
        {kNotesCsv,
         {{"LoanNbr", "NoteDT", "Subject", "Note", "Note-ID"},
          {"A1      0007", "2026-04-06", "Called, twice", "Said \"next week\"\r\nthen hung up", "7"}}},
    };
    for (const auto& [file, rows] : expected) EXPECT_EQ(ReadCsv(dir.path() / file), rows) << file;
}

TEST_F(CsvExportTest, ACancelledExportLeavesNoFile) {
    LoanTable(kb.LoanDB).add(PlainLoan("A1"));
    const fs::path folder = dir.path() / "export";
    fs::create_directory(folder);
    EXPECT_THROW(ExportBook(book, folder, [](std::uint64_t, std::uint64_t) { return false; }), Cancelled);
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
}  // namespace kb
