#include "loanbook/csv_export.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/startup.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;
using namespace std::chrono;

// A CSV file read as RFC 4180 has it, after its UTF-8 byte order mark: quotes around a field that needs them.
Rows ReadCsv(const fs::path& path) {
    const std::string text = test::FileText(path);
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF")) << path;
    Rows rows{{""}};
    bool quoted = false;
    for (std::size_t i = 3; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        if (c == '"' && quoted && text[i - 1] == '"') rows.back().back() += c;  // a doubled quote in quotes
        else if (c != '"' && (quoted || (c != ',' && c != '\r'))) rows.back().back() += c;
        else if (c == ',') rows.back().emplace_back();
        else if (c == '\r') rows.push_back({""}), ++i;  // skipping the LF
    }
    rows.pop_back();  // the empty row after the last CR LF
    return rows;
}

// A loan, its payment and its note, whose texts need quoting, in a new book.
class CsvExportTest : public ::testing::Test, protected test::Doubles {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartUp(kb));
        LoanTable(kb.LoanDB).add({"A1", "Müller, \"Jo\"", "Zoë\nAnn", "Rue d'Été\r2", "Köln", "NY", "10001",
                                  "555", "", "Ford", "03/05/2026", " 1500.00", " 18.5", "12", {}, "  140.00", "1360"});
        PaymentTable(kb.PmtsDB).add({PmtKey("A1", "04/05/2026"), "04/05/2026", "  140.00", "    ", "1", "  117.50",
                                     "   22.50", year{2026} / 5 / 5, " 1242.50", "10\"1"});
        NoteTable(kb.NotesDB).add({NoteKey("A1", 7), "04/06/2026", "Called, twice", "\"Soon\"\r\nbye", 7});
    }
    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
};

TEST_F(CsvExportTest, TheFilesReadBackFieldForFieldAndACancelledExportLeavesNone) {
    fs::create_directory("cancelled");
    EXPECT_THROW(ExportBook(book, "cancelled", [](std::uint64_t, std::uint64_t) { return false; }), Cancelled);
    EXPECT_TRUE(fs::is_empty("cancelled"));

    ExportBook(book, ".", {});
    EXPECT_EQ(ReadCsv(kLoansCsv),
              (Rows{{"LoanNbr", "LastNm", "FirstMI", "Street", "City", "State", "Zip", "Phone", "WrkPhone",
                     "Collateral", "LoanDT", "LoanAmt", "APR", "PmtsPerYr", "NextPmtDT", "Payment", "Balance"},
                    {"A1", "Müller, \"Jo\"", "Zoë\nAnn", "Rue d'Été\r2", "Köln", "NY", "10001", "555", "", "Ford",
                     "2026-03-05", "1500.00", "18.5", "12", "", "140.00", "1360"}}));
    EXPECT_EQ(ReadCsv(kPaymentsCsv), (Rows{{"LoanNbr", "PmtDT", "Amount", "LateFee", "NbrPmts", "Principal",
                                            "Interest", "NextPmtDT", "Balance", "ChkNbr"},
                                           {"A1      20260405", "2026-04-05", "140.00", "", "1", "117.50", "22.50",
                                            "2026-05-05", "1242.50", "10\"1"}}));
    EXPECT_EQ(ReadCsv(kNotesCsv), (Rows{{"LoanNbr", "NoteDT", "Subject", "Note", "Note-ID"},
                                        {"A1      0007", "2026-04-06", "Called, twice", "\"Soon\"\r\nbye", "7"}}));
}

}  // namespace
}  // namespace kb
