#pragma once
#include <filesystem>
#include <string>

#include "store/store.h"

namespace kb {
struct KBMain;
}

namespace kb::bench {

// A new, empty folder of that name in the temporary directory; an older one of the name goes first.
std::filesystem::path FreshFolder(const std::string& name);

// Points the shared values at the book's three files.
void UseBookFiles(KBMain& kb, const BookFiles& files);

// The three files of a book kept in `dir`, under the names the program gives them.
BookFiles BookIn(const std::string& dir);

// The loan number of generated loan `index` (0 to loans - 1): "L" and seven digits, so that the loan numbers
// sort in the order they were generated.
std::string GeneratedLoanNbr(int index);

// Creates KB_Loan.mdb, KB_Pmts.mdb and KB_Notes.mdb in `dir`, which must not hold them yet, and fills them with
// `loans` loans of `paymentsPerLoan` payments each, always the same book for the same arguments. The loans have
// customers, addresses, collateral, amounts, rates and schedules (monthly, fortnightly, weekly) of their own;
// their payments are split by the program's own payment arithmetic and move the due date on as posting does,
// so each loan's Balance and NextPmtDT are those of its last payment. The notes file stays empty.
// Throws StoreError or SQLite::Exception.
void GenerateBook(const std::string& dir, int loans, int paymentsPerLoan);

}  // namespace kb::bench
