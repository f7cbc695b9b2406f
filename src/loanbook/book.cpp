#include "loanbook/book.h"

#include "core/format.h"
#include "loanbook/notes_rules.h"

namespace kb {

namespace {
constexpr const char* kNoLoanNumber = "CAN'T SAVE WITHOUT A LOAN NUMBER";
constexpr const char* kNoLastName = "CAN'T SAVE WITHOUT A LAST NAME";
}  // namespace

void Book::eachPayment(const std::function<void(const PaymentRecord&)>& visit) {
    for (const LoanRecord& loan : loans(LoanOrder::ById))
        for (const PaymentRecord& payment : payments(loan.LoanNbr)) visit(payment);
}

void Book::eachNote(const std::function<void(const NoteRecord&)>& visit) {
    for (const LoanRecord& loan : loans(LoanOrder::ById))
        for (const NoteRecord& note : notes(loan.LoanNbr)) visit(note);
}

Refusal Book::saveLoan(std::string_view loanOnFile, const LoanTexts& fields) {
    if (TrimRight(fields[kLoanNbrField]).empty()) return kNoLoanNumber;
    if (TrimRight(fields[kLastNmField]).empty()) return kNoLastName;
    LoanRecord loan = LoanOfTexts(fields);
    if (loanOnFile.empty()) {
        addLoan(loan);
    } else {
        loan.LoanNbr = loanOnFile;
        updateLoan(loan);
    }
    return std::nullopt;
}

Refusal Book::postPayment(const std::string& loanNbr, const EntryTexts& entry, Date today) {
    if (Refusal refusal = PostRefusal(entry[kPmtDTEntry], entry[kAmountEntry], today)) return refusal;
    storePayment(loanNbr, PaymentOfEntry(loanNbr, entry));
    return std::nullopt;
}

PaymentTakeBack Book::takeBackPayment(std::string_view loanNbr, std::string_view pmtKey, std::string_view pmtsPerYr,
                                      std::string_view nextPmtDT) {
    PaymentTakeBack takeBack = TakeBackPayment(payment(pmtKey), pmtsPerYr, nextPmtDT);
    if (takeBack.message.empty()) removePayment(loanNbr, pmtKey, takeBack.balanceText, takeBack.nextPmtDT.date);
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
