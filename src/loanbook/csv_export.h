#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "loanbook/book.h"

namespace kb {

// The names of the files an export writes.
inline constexpr const char* kLoansCsv = "loans.csv";
inline constexpr const char* kPaymentsCsv = "payments.csv";
inline constexpr const char* kNotesCsv = "notes.csv";

// One line of a CSV file as RFC 4180 has it: a field holding a comma, a double quote, CR or LF in double quotes,
// its quotes doubled; the line ended by CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

// Writes every record of the book, read through `book` (so any store will do), into loans.csv, payments.csv and
// notes.csv in `folder`: UTF-8, a header row of the field names, dates as yyyy-mm-dd, amounts as the plain
// decimals they are stored as, without their padding. Each file is written under a temporary name and renamed
// when all three are whole, so a failure or a cancel leaves none behind. Throws StoreError saying why, or
// Cancelled.
void ExportBook(Book& book, const std::filesystem::path& folder, const Progress& progress);

}  // namespace kb
