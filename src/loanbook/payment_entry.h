#pragma once
#include <array>
#include <string>

#include "store/records.h"

namespace kb {

// The payment entry fields, `txtAddPmt` 0 to 8, by index.
enum EntryField {
    kPmtDTEntry = 0,
    kAmountEntry = 1,
    kLateFeeEntry = 2,
    kNbrPmtsEntry = 3,
    kPrincipalEntry = 4,
    kInterestEntry = 5,
    kNextPmtDTEntry = 6,
    kBalanceEntry = 7,
    kChkNbrEntry = 8,
};
inline constexpr int kEntryFieldCount = 9;

// What the entry panel holds, by field index.
using EntryTexts = std::array<std::string, kEntryFieldCount>;

// The payment the entry fields describe, under its key. Throws std::invalid_argument when the next due date is
// not a date.
PaymentRecord PaymentOfEntry(const std::string& loanNbr, const EntryTexts& texts);
// The entry fields showing a payment.
EntryTexts EntryTextsOf(const PaymentRecord& payment);

}  // namespace kb
