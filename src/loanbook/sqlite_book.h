#pragma once
#include "core/kbmain.h"
#include "loanbook/book.h"

namespace kb {

// The book kept in the three SQLite files whose paths the shared values hold (LoanDB, PmtsDB, NotesDB, read at
// each action). Each action opens the files it needs and closes them before it returns.
class SqliteBook : public Book {
public:
    explicit SqliteBook(const KBMain& kb) : kb_(kb) {}

    std::vector<LoanRecord> loans(LoanOrder order) override;
    std::optional<LoanRecord> loan(std::string_view loanNbr) override;
    std::vector<PaymentRecord> payments(std::string_view loanNbr) override;
    std::optional<PaymentRecord> payment(std::string_view pmtKey) override;
    std::vector<PaymentRecord> paymentsBetween(Date first, Date last) override;
    std::vector<NoteRecord> notes(std::string_view loanNbr) override;
    std::optional<NoteRecord> note(std::string_view noteKey) override;
    void eachPayment(const std::function<void(const PaymentRecord&)>& visit) override;
    void eachNote(const std::function<void(const NoteRecord&)>& visit) override;
    void deleteLoan(std::string_view loanNbr) override;
    std::int64_t beginNote() override;

protected:
    void addLoan(const LoanRecord& loan) override;
    Refusal updateLoan(const LoanRecord& loan, const LoanCheck& check) override;
    Refusal storePayment(std::string_view loanNbr, const PaymentRecord& payment, const LoanCheck& check) override;
    Refusal removePayment(std::string_view loanNbr, std::string_view pmtKey, const std::string& balance,
                          const std::optional<Date>& nextPmtDT, const LoanCheck& check) override;
    void addNote(const NoteRecord& note) override;
    void updateNote(const NoteRecord& note) override;
    void removeNote(std::string_view noteKey) override;

private:
    BookFiles files() const { return {kb_.LoanDB, kb_.PmtsDB, kb_.NotesDB}; }

    const KBMain& kb_;
};

}  // namespace kb
