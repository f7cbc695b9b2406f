#pragma once
#include <memory>

#include "loanbook/book.h"
#include "server/server_settings.h"

namespace kb {

class PgConnection;
struct TableDef;

// The book kept on a PostgreSQL server that several desks share, in the same three tables and fields as the
// SQLite files, created on the first connection when the database has none. Each action is one transaction on
// the book's own connection; posting and taking back a payment lock the loan's row first, so that two desks on
// the same loan take turns and the second sees what the first stored.
class PgBook : public Book {
public:
    // Connects and creates the tables when missing. Throws StoreError when the server cannot be reached.
    explicit PgBook(const ServerSettings& settings);
    ~PgBook() override;

    std::vector<LoanRecord> loans(LoanOrder order) override;
    std::optional<LoanRecord> loan(std::string_view loanNbr) override;
    std::vector<PaymentRecord> payments(std::string_view loanNbr) override;
    std::optional<PaymentRecord> payment(std::string_view pmtKey) override;
    std::vector<PaymentRecord> paymentsBetween(Date first, Date last) override;
    std::vector<NoteRecord> notes(std::string_view loanNbr) override;
    std::optional<NoteRecord> note(std::string_view noteKey) override;
    void deleteLoan(std::string_view loanNbr) override;
    std::int64_t beginNote() override;

    // The whole book as one moment saw it.
    BookContents readBook();
    // Fills the server's tables with `book`, all of it or nothing; refused when they hold any record.
    void loadEmptyBook(const BookContents& book);

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
    void createMissingTables();
    bool tablesPresent();
    // The loan's row locked until the transaction ends, with its newest payment; refused as not on file.
    LoanOnFile lockLoan(std::string_view loanNbr);
    void setLoanBalance(std::string_view loanNbr, const std::string& balance, const std::optional<Date>& nextPmtDT);
    void deleteLoanRange(const TableDef& table, std::string_view loanNbr);

    std::unique_ptr<PgConnection> connection_;
};

}  // namespace kb
