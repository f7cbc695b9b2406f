#include <SQLiteCpp/Transaction.h>

#include <initializer_list>

#include "store/connection.h"
#include "store/sqlite_errors.h"
#include "store/statements.h"
#include "store/store.h"

namespace kb {

namespace {

// A file a book operation attaches to the loan file, and the schema name it is attached under.
struct AttachedFile {
    const std::string BookFiles::*path;
    const TableDef* table;
    std::string_view schema;
};

constexpr AttachedFile kPaymentsFile{&BookFiles::pmtsDB, &kPaymentTable, "pmts"};
constexpr AttachedFile kNotesFile{&BookFiles::notesDB, &kNoteTable, "notes"};

// Runs a book operation as one transaction on one connection: the loan file, with `attached` files attached (each
// schema checked to be in the rollback journal, so that the commit is atomic across them). `body` runs its
// statements through Guarded or GuardedChange, naming the record each writes, so that a refusal is described for
// the table it came from; a failure to begin or to commit names every file. A failure anywhere stores nothing.
template <class Body>
void RunBookOperation(const BookFiles& files, std::initializer_list<AttachedFile> attached, Body&& body) {
    Connection connection(files.loanDB, kLoanTable);
    for (const AttachedFile& file : attached) connection.attach(files.*file.path, *file.table, file.schema);
    Guarded(connection.allFiles(), [&] {
        SQLite::Transaction transaction(connection.db(), SQLite::TransactionBehavior::IMMEDIATE);
        body(connection);
        transaction.commit();
    });
}

// Sets the loan's Balance and NextPmtDT; the loan must be on file.
void SetLoanBalance(Connection& connection, std::string_view loanNbr, const std::string& balance,
                    const std::optional<Date>& nextPmtDT) {
    const Target loan = connection.target(TrimRight(loanNbr));
    GuardedChange(loan, [&] {
        SQLite::Statement update(connection.db(), "UPDATE " + TableIn("main", kLoanTable) +
                                                      " SET \"Balance\" = ?2, \"NextPmtDT\" = ?3 WHERE " +
                                                      Quoted(kKeyField) + " = ?1");
        update.bind(1, loan.key);
        BindValue(update, 2, balance);
        BindValue(update, 3, nextPmtDT);
        return update.exec();
    });
}

}  // namespace

void PostPayment(const BookFiles& files, std::string_view loanNbr, const PaymentRecord& payment) {
    RunBookOperation(files, {kPaymentsFile}, [&](Connection& connection) {
        Guarded(connection.target(kPaymentsFile.schema, KeyOf(payment)),
                [&] { Insert(connection.db(), kPaymentsFile.schema, payment); });
        SetLoanBalance(connection, loanNbr, payment.Balance, payment.NextPmtDT);
    });
}

void DeletePayment(const BookFiles& files, std::string_view loanNbr, std::string_view pmtKey,
                   const std::string& restoredBalance, const std::optional<Date>& restoredNextPmtDT) {
    RunBookOperation(files, {kPaymentsFile}, [&](Connection& connection) {
        const Target payment = connection.target(kPaymentsFile.schema, TrimRight(pmtKey));
        GuardedChange(payment,
                      [&] { return DeleteKey(connection.db(), kPaymentsFile.schema, kPaymentTable, payment.key); });
        SetLoanBalance(connection, loanNbr, restoredBalance, restoredNextPmtDT);
    });
}

void DeleteLoan(const BookFiles& files, std::string_view loanNbr) {
    RunBookOperation(files, {kPaymentsFile, kNotesFile}, [&](Connection& connection) {
        const KeyRange range = LoanKeyRange(loanNbr);
        for (const AttachedFile& file : {kPaymentsFile, kNotesFile}) {
            Guarded(connection.target(file.schema, ""),
                    [&] { DeleteKeyRange(connection.db(), file.schema, *file.table, range); });
        }
        const Target loan = connection.target(TrimRight(loanNbr));
        GuardedChange(loan, [&] { return DeleteKey(connection.db(), "main", kLoanTable, loan.key); });
    });
}

}  // namespace kb
