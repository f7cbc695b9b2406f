#include "loanbook/payment_entry.h"

#include <stdexcept>

#include "core/dates.h"
#include "core/format.h"
#include "store/store.h"

namespace kb {

namespace {
constexpr const char* kDateMask = "mm/dd/yyyy";
}  // namespace

PaymentRecord PaymentOfEntry(const std::string& loanNbr, const EntryTexts& texts) {
    PaymentRecord payment;
    payment.LoanNbr = PmtKey(loanNbr, texts[kPmtDTEntry]);
    payment.PmtDT = texts[kPmtDTEntry];
    payment.Amount = texts[kAmountEntry];
    payment.LateFee = texts[kLateFeeEntry];
    payment.NbrPmts = texts[kNbrPmtsEntry];
    payment.Principal = texts[kPrincipalEntry];
    payment.Interest = texts[kInterestEntry];
    const std::string due = TrimRight(texts[kNextPmtDTEntry]);
    if (!due.empty()) {
        payment.NextPmtDT = ParseStoredDate(due);
        if (!payment.NextPmtDT) throw std::invalid_argument("Next payment date " + due + " is not a date");
    }
    payment.Balance = texts[kBalanceEntry];
    payment.ChkNbr = texts[kChkNbrEntry];
    return payment;
}

EntryTexts EntryTextsOf(const PaymentRecord& payment) {
    EntryTexts texts;
    texts[kPmtDTEntry] = payment.PmtDT;
    texts[kAmountEntry] = payment.Amount;
    texts[kLateFeeEntry] = payment.LateFee;
    texts[kNbrPmtsEntry] = payment.NbrPmts;
    texts[kPrincipalEntry] = payment.Principal;
    texts[kInterestEntry] = payment.Interest;
    texts[kNextPmtDTEntry] = FormatDate(payment.NextPmtDT, kDateMask);
    texts[kBalanceEntry] = payment.Balance;
    texts[kChkNbrEntry] = payment.ChkNbr;
    return texts;
}

}  // namespace kb
