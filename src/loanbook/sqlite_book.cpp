#include "loanbook/sqlite_book.h"

namespace kb {

std::vector<LoanRecord> SqliteBook::loans(LoanOrder order) { return LoanTable(kb_.LoanDB).readAll(order); }
std::optional<LoanRecord> SqliteBook::loan(std::string_view loanNbr) { return LoanTable(kb_.LoanDB).find(loanNbr); }
std::vector<PaymentRecord> SqliteBook::payments(std::string_view loanNbr) {
    return PaymentTable(kb_.PmtsDB).readLoan(loanNbr);
}
std::optional<PaymentRecord> SqliteBook::payment(std::string_view pmtKey) {
    return PaymentTable(kb_.PmtsDB).find(pmtKey);
}
std::vector<PaymentRecord> SqliteBook::paymentsBetween(Date first, Date last) {
    return PaymentTable(kb_.PmtsDB).readDateRange(first, last);
}
std::vector<NoteRecord> SqliteBook::notes(std::string_view loanNbr) { return NoteTable(kb_.NotesDB).readLoan(loanNbr); }
std::optional<NoteRecord> SqliteBook::note(std::string_view noteKey) { return NoteTable(kb_.NotesDB).find(noteKey); }
void SqliteBook::eachPayment(const std::function<void(const PaymentRecord&)>& visit) {
    PaymentTable(kb_.PmtsDB).forEach(visit);
}
void SqliteBook::eachNote(const std::function<void(const NoteRecord&)>& visit) { NoteTable(kb_.NotesDB).forEach(visit); }

void SqliteBook::deleteLoan(std::string_view loanNbr) { DeleteLoan(files(), loanNbr); }
std::int64_t SqliteBook::beginNote() { return NoteTable(kb_.NotesDB).beginNote(); }

void SqliteBook::addLoan(const LoanRecord& loan) { LoanTable(kb_.LoanDB).add(loan); }
Refusal SqliteBook::updateLoan(const LoanRecord& loan, const LoanCheck& check) {
    return UpdateLoan(files(), loan, check);
}
Refusal SqliteBook::storePayment(std::string_view loanNbr, const PaymentRecord& payment, const LoanCheck& check) {
    return PostPayment(files(), loanNbr, payment, check);
}
Refusal SqliteBook::removePayment(std::string_view loanNbr, std::string_view pmtKey, const std::string& balance,
                                  const std::optional<Date>& nextPmtDT, const LoanCheck& check) {
    return DeletePayment(files(), loanNbr, pmtKey, balance, nextPmtDT, check);
}
void SqliteBook::addNote(const NoteRecord& note) { NoteTable(kb_.NotesDB).add(note); }
void SqliteBook::updateNote(const NoteRecord& note) { NoteTable(kb_.NotesDB).update(note); }
void SqliteBook::removeNote(std::string_view noteKey) { NoteTable(kb_.NotesDB).remove(noteKey); }

}  // namespace kb
