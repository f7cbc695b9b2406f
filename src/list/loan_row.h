#pragma once
#include <string>
#include <vector>

#include "core/figure_reader.h"
#include "store/store.h"

namespace kb {

// The order of the loan list named by the sort label's text; only its first seven characters count.
inline constexpr const char* kIdSortLabel = "LOAN-IDENTIFICATION SORT";
inline constexpr const char* kNameSortLabel = "LOAN-NAME SORT";
inline constexpr const char* kDateSortLabel = "LOAN-DATE SORT";
LoanOrder SortOrderOf(std::string_view sortLabel);

// One line of the loan list, 74 characters: loan number (8), name (32), balance (10), next due date (10) and
// regular payment (10), one blank between columns. A loan without a due date gives a row ten characters shorter.
// An amount that cannot be read leaves its column blank and is noted by `figures`.
std::string LoanRow(const LoanRecord& loan, FigureReader& figures);

// The loan number the Process and Delete commands hand to the loan record screen, as the loan's row shows it in its
// first 8 characters: the blanks that fill them out stay (lookups ignore them), blanks on the left are left out.
std::string LoanNbrAsListed(const LoanRecord& loan);

// The rows of the listed loans, in their order; loans without a loan number are left out.
std::vector<std::string> LoanRows(const std::vector<LoanRecord>& loans, FigureReader& figures);

}  // namespace kb
