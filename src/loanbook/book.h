#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "loanbook/loan_fields.h"
#include "loanbook/payment_calc.h"
#include "loanbook/payment_entry.h"
#include "store/records.h"
#include "store/store.h"

namespace kb {

// A refusal of a user action, made before the book is touched: the text to show (OK button, no icon, the
// program's title); nothing when the action went ahead.
using Refusal = std::optional<std::string>;

// A loan as the loan record screen read it from the book (or last stored it): its Balance and NextPmtDT as shown
// then (loan fields 16 and 14, before any edit of the lender's) and the key of the newest payment it lists (empty
// when it lists none), what the figures of a payment entered there were worked out from.
struct LoanShown {
    std::string balance;
    std::string nextPmtDT;
    std::string newestPmtKey;
};

// The lender's book: every action a window takes on it, and every read. The rules of the actions live here, once;
// an implementation provides the storage (the SQLite files, or a database server several desks share). Failures
// of the storage are thrown in words a lender understands, and an action that fails changes nothing. A payment is
// posted or taken back only while the loan on file is still the one the screen showed, checked inside the
// storage's transaction: another desk may have moved it on since.
class Book {
public:
    virtual ~Book() = default;

    // ---- Reads ---------------------------------------------------------------------------------------------------
    virtual std::vector<LoanRecord> loans(LoanOrder order) = 0;
    // Compared without regard to case or trailing blanks.
    virtual std::optional<LoanRecord> loan(std::string_view loanNbr) = 0;
    // A loan's payments, oldest first.
    virtual std::vector<PaymentRecord> payments(std::string_view loanNbr) = 0;
    virtual std::optional<PaymentRecord> payment(std::string_view pmtKey) = 0;
    // The payments dated from `first` to `last`, both included, in no particular order.
    virtual std::vector<PaymentRecord> paymentsBetween(Date first, Date last) = 0;
    // A loan's notes in the order they were added.
    virtual std::vector<NoteRecord> notes(std::string_view loanNbr) = 0;
    virtual std::optional<NoteRecord> note(std::string_view noteKey) = 0;
    // Every payment (every note) of the book, grouped by loan in loan-number order, each handed to `visit` once,
    // without holding them all: for reading the whole book out. By default read loan by loan.
    virtual void eachPayment(const std::function<void(const PaymentRecord&)>& visit);
    virtual void eachNote(const std::function<void(const NoteRecord&)>& visit);

    // ---- Loans ---------------------------------------------------------------------------------------------------
    // Saves the loan the 17 loan fields describe: a new loan when `loanOnFile` is empty, else the fields of the loan
    // of that number. Refused without a loan number or a last name.
    // A loan on file is saved only while its Balance and NextPmtDT are still those `shown`, when given: another desk
    // may have posted on it since.
    Refusal saveLoan(std::string_view loanOnFile, const LoanTexts& fields,
                     const std::optional<LoanShown>& shown = std::nullopt);
    // The loan with all its payments and notes, all of it or nothing.
    virtual void deleteLoan(std::string_view loanNbr) = 0;

    // ---- Payments ------------------------------------------------------------------------------------------------
    // Posts the payment the entry panel describes and moves the loan's Balance and NextPmtDT on with it, together.
    // Refused without a payment date or an amount, for a date after `today`, or when the loan's Balance, NextPmtDT
    // or newest payment on file are no longer those `shown`.
    Refusal postPayment(const std::string& loanNbr, const EntryTexts& entry, Date today, const LoanShown& shown);
    // Takes back the payment `pmtKey` (the newest of the loan) and winds the loan back to the balance before it and
    // its due date `nextPmtDT` stepped back, together. What it came to is returned: its `message` when the payment
    // is not on file, or is no longer the loan's newest, or the loan's NextPmtDT on file is no longer `nextPmtDT`
    // (nothing changed), the balance and due date the loan now has otherwise.
    // Refused when the loan's NextPmtDT on file is no longer the one `shown`.
    PaymentTakeBack takeBackPayment(std::string_view loanNbr, std::string_view pmtKey, std::string_view pmtsPerYr,
                                    std::string_view nextPmtDT, const LoanShown& shown);

    // ---- Notes ---------------------------------------------------------------------------------------------------
    // The number of a note being begun: one no note of the book has had.
    virtual std::int64_t beginNote() = 0;
    // Saves the note of the detail panel: a new note, or the note being edited. Refused without a date or a
    // subject.
    Refusal saveNote(const NoteRecord& note, bool editing);
    // Refused with "RECORD NOT FOUND" when the note is not on file.
    Refusal deleteNote(std::string_view noteKey);

protected:
    virtual void addLoan(const LoanRecord& loan) = 0;
    // The loan's fields rewritten, once `check` lets it (an empty check always does).
    virtual Refusal updateLoan(const LoanRecord& loan, const LoanCheck& check) = 0;
    // The payment stored and the loan's Balance and NextPmtDT set to the payment's, together, once `check` has let
    // the loan and its newest payment as found inside the same transaction pass; its refusal otherwise.
    virtual Refusal storePayment(std::string_view loanNbr, const PaymentRecord& payment, const LoanCheck& check) = 0;
    // The payment removed and the loan's Balance and NextPmtDT set to the values given, together, under `check` as
    // storePayment.
    virtual Refusal removePayment(std::string_view loanNbr, std::string_view pmtKey, const std::string& balance,
                                  const std::optional<Date>& nextPmtDT, const LoanCheck& check) = 0;
    virtual void addNote(const NoteRecord& note) = 0;
    virtual void updateNote(const NoteRecord& note) = 0;
    virtual void removeNote(std::string_view noteKey) = 0;
};

inline constexpr const char* kRecordNotFound = "RECORD NOT FOUND";
// A payment refused because the loan on file is no longer what the screen shows.
inline constexpr const char* kLoanChangedElsewhere =
    "THIS LOAN WAS CHANGED AT ANOTHER DESK - NOTHING WAS SAVED. CLOSE THE LOAN AND OPEN IT AGAIN";

}  // namespace kb
