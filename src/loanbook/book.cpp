#include "loanbook/book.h"

#include "core/currency.h"
#include "core/format.h"
#include "loanbook/notes_rules.h"

namespace kb {

namespace {
constexpr const char* kNoLoanNumber = "CAN'T SAVE WITHOUT A LOAN NUMBER";
constexpr const char* kNoLastName = "CAN'T SAVE WITHOUT A LAST NAME";

bool SameMoney(std::string_view a, std::string_view b) {
    return Currency::FromDouble(NumVal(a)) == Currency::FromDouble(NumVal(b));
}

// The screen's due date, "mm/dd/yyyy" or empty, against the stored one.
bool SameDueDate(const std::optional<Date>& onFile, std::string_view shown) {
    return onFile == ParseStoredDate(TrimRight(shown));
}

// A payment's figures were worked out from the loan's balance, due date and newest payment as shown; and only
// on top of that newest payment does the loan take the new payment's balance and due date.
LoanCheck ShownStillOnFile(const LoanShown& shown) {
    return [shown](const LoanOnFile& onFile) -> Refusal {
        const std::string newestKey = onFile.newest ? onFile.newest->LoanNbr : std::string();
        if (SameMoney(onFile.loan.Balance, shown.balance) && SameDueDate(onFile.loan.NextPmtDT, shown.nextPmtDT) &&
            newestKey == TrimRight(shown.newestPmtKey)) {
            return std::nullopt;
        }
        return kLoanChangedElsewhere;
    };
}

// Taking a payment back winds the loan back from the payment's figures, as read, and the due date shown: it must
// still be the loan's newest payment, with those figures, and the due date still the one shown.
// A loan's fields are saved over the balance and due date the screen read, not over a payment stored since.
LoanCheck DueDateAndBalanceStillOnFile(const LoanShown& shown) {
    return [shown](const LoanOnFile& onFile) -> Refusal {
        if (SameMoney(onFile.loan.Balance, shown.balance) && SameDueDate(onFile.loan.NextPmtDT, shown.nextPmtDT))
            return std::nullopt;
        return kLoanChangedElsewhere;
    };
}

LoanCheck NewestStillOnFile(const PaymentRecord& payment, std::string_view nextPmtDT) {
    return [payment, nextPmtDT = std::string(nextPmtDT)](const LoanOnFile& onFile) -> Refusal {
        if (onFile.newest == payment && SameDueDate(onFile.loan.NextPmtDT, nextPmtDT)) return std::nullopt;
        return kLoanChangedElsewhere;
    };
}

}  // namespace

void Book::eachPayment(const std::function<void(const PaymentRecord&)>& visit) {
    for (const LoanRecord& loan : loans(LoanOrder::ById))
        for (const PaymentRecord& payment : payments(loan.LoanNbr)) visit(payment);
}

void Book::eachNote(const std::function<void(const NoteRecord&)>& visit) {
    for (const LoanRecord& loan : loans(LoanOrder::ById))
        for (const NoteRecord& note : notes(loan.LoanNbr)) visit(note);
}

Refusal Book::saveLoan(std::string_view loanOnFile, const LoanTexts& fields, const std::optional<LoanShown>& shown) {
    if (TrimRight(fields[kLoanNbrField]).empty()) return kNoLoanNumber;
    if (TrimRight(fields[kLastNmField]).empty()) return kNoLastName;
    LoanRecord loan = LoanOfTexts(fields);
    if (loanOnFile.empty()) {
        addLoan(loan);
    } else {
        loan.LoanNbr = loanOnFile;
        return updateLoan(loan, shown ? DueDateAndBalanceStillOnFile(*shown) : LoanCheck());
    }
    return std::nullopt;
}

Refusal Book::postPayment(const std::string& loanNbr, const EntryTexts& entry, Date today, const LoanShown& shown) {
    if (Refusal refusal = PostRefusal(entry[kPmtDTEntry], entry[kAmountEntry], today)) return refusal;
    return storePayment(loanNbr, PaymentOfEntry(loanNbr, entry), ShownStillOnFile(shown));
}

PaymentTakeBack Book::takeBackPayment(std::string_view loanNbr, std::string_view pmtKey, std::string_view pmtsPerYr,
                                      std::string_view nextPmtDT, const LoanShown& shown) {
    const std::optional<PaymentRecord> found = payment(pmtKey);
    PaymentTakeBack takeBack = TakeBackPayment(found, pmtsPerYr, nextPmtDT);
    if (!takeBack.message.empty()) return takeBack;
    if (Refusal refusal = removePayment(loanNbr, pmtKey, takeBack.balanceText, takeBack.nextPmtDT.date,
                                        NewestStillOnFile(*found, shown.nextPmtDT))) {
        PaymentTakeBack refused;
        refused.message = *refusal;
        return refused;
    }
    return takeBack;
}

Refusal Book::saveNote(const NoteRecord& note, bool editing) {
    if (Refusal refusal = NoteSaveRefusal(note.NoteDT, note.Subject)) return refusal;
    if (editing) {
        updateNote(note);
    } else {
        addNote(note);
    }
    return std::nullopt;
}

Refusal Book::deleteNote(std::string_view noteKey) {
    if (!note(noteKey)) return kRecordNotFound;
    removeNote(noteKey);
    return std::nullopt;
}

}  // namespace kb
