#pragma once
#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>

#include "loanbook/sqlite_book.h"
#include "reports/report_test_data.h"
#include "store/store.h"
#include "support/temp_dir.h"

namespace kb::test {

// A book of empty files in a temporary directory, the seams' doubles and a KBMain on them; today is 12/06/2026.
struct TestBook : ReportDoubles {
    TestBook() {
        kb.book = &book;
        kb.LoanDB = dir.file("KB_Loan.mdb");
        kb.PmtsDB = dir.file("KB_Pmts.mdb");
        CreateTableFile(kb.LoanDB, TableNumber::Loans);
        CreateTableFile(kb.PmtsDB, TableNumber::Payments);
    }
    void add(const LoanRecord& loan) { LoanTable(kb.LoanDB).add(loan); }
    void pay(const std::string& loanNbr, const std::string& pmtDT, const std::string& amount) {
        PaymentTable(kb.PmtsDB).add({PmtKey(loanNbr, pmtDT), pmtDT, amount, "", "", "", "", {}, "", ""});
    }
    // Changes a file as another program may, past the tables' size rules.
    void writeUnchecked(const std::string& file, const std::string& sql) {
        SQLite::Database database(file, SQLite::OPEN_READWRITE);
        database.exec("PRAGMA ignore_check_constraints = ON");
        database.exec(sql);
    }

    TempDir dir;
    SqliteBook book{kb};
};

inline LoanRecord Loan(std::string nbr, std::string first, std::string last, std::optional<Date> due,
                       std::string balance = "", std::string payment = "", std::string phone = "") {
    LoanRecord loan;
    std::tie(loan.LoanNbr, loan.FirstMI, loan.LastNm, loan.NextPmtDT, loan.Balance, loan.Payment, loan.Phone) =
        std::tie(nbr, first, last, due, balance, payment, phone);
    return loan;
}

// The text left-justified in `width` blanks, for writing expected columns out.
inline std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

// "L01" ... "L99": loan numbers that sort in the order they are made.
inline std::string Numbered(int n) { return (n < 10 ? "L0" : "L") + std::to_string(n); }

}  // namespace kb::test
