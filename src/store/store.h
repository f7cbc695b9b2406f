#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "store/records.h"

namespace kb {

class Dialogs;

// A refusal or failure of the store, described in words a lender understands.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TableNumber { Loans = 1, Payments = 2, Notes = 3 };

// Creates a new, empty file at `path` holding the table of that number. Throws StoreError.
void CreateTableFile(const std::string& path, TableNumber table);

// Checks that an existing file is one of ours: an SQLite file holding the table with its fields.
// Throws StoreError naming the file and what is wrong.
void CheckTableFile(const std::string& path, TableNumber table);

// Creates the file with the table of that number (1 loans, 2 payments, 3 notes). A failure is shown as its
// description, "/" and the table number, titled "MAKE DB FILE"; the caller then checks whether the file exists.
void MakeDBFile(const std::string& path, int tableNumber, Dialogs& dialogs);

// The loan number left-justified in 8 characters (cut at 8), then the payment date "mm/dd/yyyy" as yyyymmdd.
std::string PmtKey(std::string_view loanNbr, std::string_view pmtDT);
// The loan number left-justified in 8 characters, then the note number with at least four digits.
std::string NoteKey(std::string_view loanNbr, std::int64_t noteID);

enum class LoanOrder { ById, ByName, ByDueDate };

// Each operation opens the file it needs and closes it before returning; each throws StoreError.
class LoanTable {
public:
    explicit LoanTable(std::string path) : path_(std::move(path)) {}
    std::vector<LoanRecord> readAll(LoanOrder order) const;
    // Compared without regard to case or trailing blanks.
    std::optional<LoanRecord> find(std::string_view loanNbr) const;
    void add(const LoanRecord& loan) const;
    // Stores every field of the loan whose number is `loan.LoanNbr`.
    void update(const LoanRecord& loan) const;
    void remove(std::string_view loanNbr) const;

private:
    std::string path_;
};

class PaymentTable {
public:
    explicit PaymentTable(std::string path) : path_(std::move(path)) {}
    // Every payment, grouped by loan, each loan's payments oldest first (the PmtKey order).
    std::vector<PaymentRecord> readAll() const;
    // Hands every payment, in the order of readAll, to `visit`, one at a time.
    void forEach(const std::function<void(const PaymentRecord&)>& visit) const;
    // The payments whose PmtDT, written mm/dd/yyyy, lies from `first` to `last` (both included), in no particular
    // order. Dates of another form are left out.
    std::vector<PaymentRecord> readDateRange(Date first, Date last) const;
    // One loan's payments oldest first, read by key range.
    std::vector<PaymentRecord> readLoan(std::string_view loanNbr) const;
    std::optional<PaymentRecord> find(std::string_view pmtKey) const;
    void add(const PaymentRecord& payment) const;
    void update(const PaymentRecord& payment) const;
    void remove(std::string_view pmtKey) const;

private:
    std::string path_;
};

class NoteTable {
public:
    explicit NoteTable(std::string path) : path_(std::move(path)) {}
    // Every note in key order, and the highest note number ever handed out.
    std::vector<NoteRecord> readAll() const;
    std::int64_t handedOut() const;
    // Hands out the Note-ID of a note being begun: a number no note of the file has had, growing each time.
    std::int64_t beginNote() const;
    // One loan's notes in the order they were added (by Note-ID), read by key range.
    std::vector<NoteRecord> readLoan(std::string_view loanNbr) const;
    // Hands every note, grouped by loan, to `visit`, one at a time.
    void forEach(const std::function<void(const NoteRecord&)>& visit) const;
    std::optional<NoteRecord> find(std::string_view noteKey) const;
    void add(const NoteRecord& note) const;
    void update(const NoteRecord& note) const;
    void remove(std::string_view noteKey) const;

private:
    std::string path_;
};

// The book operations that change more than one file: all of it is stored or none of it.
struct BookFiles {
    std::string loanDB;
    std::string pmtsDB;
    std::string notesDB;
};

// What a payment operation finds inside its transaction, before it changes anything: the loan, and its newest
// payment (none when it has none).
struct LoanOnFile {
    LoanRecord loan;
    std::optional<PaymentRecord> newest;
};
// Judges whether the operation may go ahead: the text of its refusal, or nothing. A refusal changes nothing.
using LoanCheck = std::function<std::optional<std::string>(const LoanOnFile&)>;

// KB_Loan.mdb, KB_Pmts.mdb and KB_Notes.mdb in `folder`.
BookFiles BookFilesIn(const std::string& folder);

// Rewrites the loan's fields, once `check` lets it.
std::optional<std::string> UpdateLoan(const BookFiles& files, const LoanRecord& loan, const LoanCheck& check = {});
// Stores the payment and sets the loan's Balance and NextPmtDT to the payment's, once `check` lets it.
std::optional<std::string> PostPayment(const BookFiles& files, std::string_view loanNbr, const PaymentRecord& payment,
                                       const LoanCheck& check = {});
// Deletes the payment and sets the loan's Balance and NextPmtDT back to the given values, once `check` lets it.
std::optional<std::string> DeletePayment(const BookFiles& files, std::string_view loanNbr, std::string_view pmtKey,
                                         const std::string& restoredBalance,
                                         const std::optional<Date>& restoredNextPmtDT, const LoanCheck& check = {});
// Deletes the loan with all its payments and notes.
void DeleteLoan(const BookFiles& files, std::string_view loanNbr);

// A whole book: every record of the three tables in key order, and the highest note number handed out.
struct BookContents {
    std::vector<LoanRecord> loans;
    std::vector<PaymentRecord> payments;
    std::vector<NoteRecord> notes;
    std::int64_t notesHandedOut = 0;
};
BookContents ReadBook(const BookFiles& files);
// Fills the three files, which must hold no record, with the book: all of it or, on any failure, none of it.
void LoadEmptyBook(const BookFiles& files, const BookContents& book);

}  // namespace kb
