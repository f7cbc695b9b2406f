#include <SQLiteCpp/Transaction.h>

#include <filesystem>
#include <initializer_list>
#include <utility>

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
// the table it came from; a failure to begin or to commit names every file. A failure anywhere stores nothing, and
// so does a refusal `body` returns.
template <class Body>
std::optional<std::string> RunBookOperation(const BookFiles& files, std::initializer_list<AttachedFile> attached,
                                            Body&& body) {
    Connection connection(files.loanDB, kLoanTable);
    for (const AttachedFile& file : attached) connection.attach(files.*file.path, *file.table, file.schema);
    return Guarded(connection.allFiles(), [&]() -> std::optional<std::string> {
        SQLite::Transaction transaction(connection.db(), SQLite::TransactionBehavior::IMMEDIATE);
        if (std::optional<std::string> refusal = body(connection)) return refusal;
        transaction.commit();
        return std::nullopt;
    });
}

// What `check` says of the loan and its newest payment as they are inside the operation's transaction; the loan
// must be on file.
std::optional<std::string> CheckLoan(Connection& connection, std::string_view loanNbr, const LoanCheck& check) {
    if (!check) return std::nullopt;
    const Target loan = connection.target(TrimRight(loanNbr));
    LoanOnFile onFile;
    std::optional<LoanRecord> found = Guarded(loan, [&] { return SelectKey<LoanRecord>(connection.db(), loan.key); });
    if (!found) throw StoreError(NotOnFile(loan));
    onFile.loan = std::move(*found);
    const KeyRange range = LoanKeyRange(loanNbr);
    std::vector<PaymentRecord> newest = Guarded(connection.target(kPaymentsFile.schema, ""), [&] {
        return Select<PaymentRecord>(connection.db(),
                                     "WHERE " + KeyRangeCondition() + " ORDER BY " + Quoted(kKeyField) + " DESC LIMIT 1",
                                     {range.from, range.before}, kPaymentsFile.schema);
    });
    if (!newest.empty()) onFile.newest = std::move(newest.front());
    return check(onFile);
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

std::optional<std::string> UpdateLoan(const BookFiles& files, const LoanRecord& loan, const LoanCheck& check) {
    return RunBookOperation(files, {kPaymentsFile}, [&](Connection& connection) {
        if (std::optional<std::string> refusal = CheckLoan(connection, loan.LoanNbr, check)) return refusal;
        GuardedChange(connection.target(KeyOf(loan)), [&] { return Update(connection.db(), loan); });
        return std::optional<std::string>();
    });
}

std::optional<std::string> PostPayment(const BookFiles& files, std::string_view loanNbr, const PaymentRecord& payment,
                                       const LoanCheck& check) {
    return RunBookOperation(files, {kPaymentsFile}, [&](Connection& connection) {
        if (std::optional<std::string> refusal = CheckLoan(connection, loanNbr, check)) return refusal;
        Guarded(connection.target(kPaymentsFile.schema, KeyOf(payment)),
                [&] { Insert(connection.db(), kPaymentsFile.schema, payment); });
        SetLoanBalance(connection, loanNbr, payment.Balance, payment.NextPmtDT);
        return std::optional<std::string>();
    });
}

std::optional<std::string> DeletePayment(const BookFiles& files, std::string_view loanNbr, std::string_view pmtKey,
                                         const std::string& restoredBalance,
                                         const std::optional<Date>& restoredNextPmtDT, const LoanCheck& check) {
    return RunBookOperation(files, {kPaymentsFile}, [&](Connection& connection) {
        if (std::optional<std::string> refusal = CheckLoan(connection, loanNbr, check)) return refusal;
        const Target payment = connection.target(kPaymentsFile.schema, TrimRight(pmtKey));
        GuardedChange(payment,
                      [&] { return DeleteKey(connection.db(), kPaymentsFile.schema, kPaymentTable, payment.key); });
        SetLoanBalance(connection, loanNbr, restoredBalance, restoredNextPmtDT);
        return std::optional<std::string>();
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
        return std::optional<std::string>();
    });
}

BookFiles BookFilesIn(const std::string& folder) {
    const std::filesystem::path path(folder);
    return {(path / "KB_Loan.mdb").string(), (path / "KB_Pmts.mdb").string(), (path / "KB_Notes.mdb").string()};
}

BookContents ReadBook(const BookFiles& files) {
    return {LoanTable(files.loanDB).readAll(LoanOrder::ById), PaymentTable(files.pmtsDB).readAll(),
            NoteTable(files.notesDB).readAll(), NoteTable(files.notesDB).handedOut()};
}

void LoadEmptyBook(const BookFiles& files, const BookContents& book) {
    RunBookOperation(files, {kPaymentsFile, kNotesFile}, [&](Connection& connection) {
        for (const std::string_view schema : {std::string_view("main"), kPaymentsFile.schema, kNotesFile.schema}) {
            const Target table = connection.target(schema, "");
            const bool holdsRecords = Guarded(table, [&] {
                return connection.db().execAndGet("SELECT EXISTS (SELECT 1 FROM " + TableIn(schema, *table.table) + ")")
                           .getInt() != 0;
            });
            if (holdsRecords) throw StoreError(table.file + " already holds records: a book is copied into empty files only");
        }
        const auto insertAll = [&](std::string_view schema, const auto& records) {
            for (const auto& record : records) {
                Guarded(connection.target(schema, KeyOf(record)), [&] { Insert(connection.db(), schema, record); });
            }
        };
        insertAll("main", book.loans);
        insertAll(kPaymentsFile.schema, book.payments);
        insertAll(kNotesFile.schema, book.notes);
        Guarded(connection.target(kNotesFile.schema, ""), [&] {
            connection.db().exec("PRAGMA " + std::string(kNotesFile.schema) +
                                 ".user_version = " + std::to_string(book.notesHandedOut));
        });
        return std::optional<std::string>();
    });
}

}  // namespace kb
