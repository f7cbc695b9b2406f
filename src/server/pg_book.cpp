#include "server/pg_book.h"

#include <algorithm>
#include <array>

#include "core/format.h"
#include "server/pg_connection.h"
#include "server/pg_tables.h"

namespace kb {

namespace {

// Taken by every desk that creates the tables, so that two desks starting at once do not both create them.
constexpr const char* kCreationLock = "SELECT pg_advisory_xact_lock(4807001)";
// Taken by every desk that hands out a note number.
constexpr const char* kNoteNumberLock = "SELECT pg_advisory_xact_lock(4807002)";

const std::array<const TableDef*, 3> kTables{&kLoanTable, &kPaymentTable, &kNoteTable};

std::string KeyIs(int param) { return PgKey() + " = lower($" + std::to_string(param) + ")"; }

std::string InLoanRange() { return PgKey() + " >= lower($1) AND " + PgKey() + " < lower($2)"; }

PgParams RangeParams(std::string_view loanNbr) {
    const KeyRange range = LoanKeyRange(loanNbr);
    return {range.from, range.before};
}

// "SELECT <fields> FROM <table> <tail>", read as records.
template <class Record>
std::vector<Record> Select(PgConnection& connection, const std::string& tail, const PgParams& params = {}) {
    const TableDef& table = Layout<Record>::table;
    return RecordsOf<Record>(connection.exec("SELECT " + ColumnList(table) + " FROM " + PgTable(table) + " " + tail,
                                             connection.target(table), params));
}

template <class Record>
std::optional<Record> SelectKey(PgConnection& connection, std::string_view key, const std::string& after = "") {
    std::vector<Record> records = Select<Record>(connection, "WHERE " + KeyIs(1) + after, {TrimRight(key)});
    if (records.empty()) return std::nullopt;
    return std::move(records.front());
}

// Stored keys never end in blanks, so that lookups with a right-trimmed key find them.
template <class Record>
void Insert(PgConnection& connection, Record record) {
    const TableDef& table = Layout<Record>::table;
    record.LoanNbr = TrimRight(record.LoanNbr);
    std::string values;
    for (std::size_t i = 1; i <= table.fields.size(); ++i) values += (i == 1 ? "$" : ", $") + std::to_string(i);
    connection.exec("INSERT INTO " + PgTable(table) + " (" + ColumnList(table) + ") VALUES (" + values + ")",
                    connection.target(table, record.LoanNbr), ParamsOf(record));
}

// Every field but the key of the record with that key; refused as not on file when there is none.
template <class Record>
void Update(PgConnection& connection, const Record& record) {
    const TableDef& table = Layout<Record>::table;
    std::string assignments;
    for (std::size_t i = 1; i < table.fields.size(); ++i) {
        if (i > 1) assignments += ", ";
        assignments += Quoted(table.fields[i].name) + " = $" + std::to_string(i + 1);
    }
    PgParams params = ParamsOf(record);
    params[0] = TrimRight(record.LoanNbr);
    const Target target = connection.target(table, *params[0]);
    if (connection.exec("UPDATE " + PgTable(table) + " SET " + assignments + " WHERE " + KeyIs(1), target, params)
            .changed() == 0) {
        throw StoreError(NotOnFile(target));
    }
}

void DeleteKey(PgConnection& connection, const TableDef& table, std::string_view key) {
    const Target target = connection.target(table, TrimRight(key));
    if (connection.exec("DELETE FROM " + PgTable(table) + " WHERE " + KeyIs(1), target, {target.key}).changed() == 0) {
        throw StoreError(NotOnFile(target));
    }
}

bool HoldsRecords(PgConnection& connection, const TableDef& table) {
    return connection.exec("SELECT EXISTS (SELECT 1 FROM " + PgTable(table) + ")", connection.target(table))
               .text(0, 0) == "t";
}

template <class Record>
void CopyIn(PgConnection& connection, const std::vector<Record>& records) {
    const TableDef& table = Layout<Record>::table;
    std::string data;
    for (const Record& record : records) AppendCopyLine(data, record);
    connection.copyIn("COPY " + PgTable(table) + " (" + ColumnList(table) + ") FROM STDIN", data,
                      connection.target(table));
}

}  // namespace

PgBook::PgBook(const ServerSettings& settings) : connection_(std::make_unique<PgConnection>(settings)) {
    createMissingTables();
}

PgBook::~PgBook() = default;

// Creating takes locks on the tables that a desk posting at that moment needs too, in another order: a desk that
// starts while another posts would deadlock with it. So a book whose tables are all there is left alone.
void PgBook::createMissingTables() {
    if (tablesPresent()) return;
    connection_->transaction([&] {
        connection_->exec(kCreationLock, connection_->target(kLoanTable));
        for (const TableDef* table : kTables) {
            connection_->exec(PgCreateTableSql(*table), connection_->target(*table));
            connection_->exec(PgKeyIndexSql(*table), connection_->target(*table));
        }
        connection_->exec("CREATE SEQUENCE IF NOT EXISTS " + std::string(kNoteIdSequence),
                          connection_->target(kNoteTable));
        return Refusal();
    });
}

bool PgBook::tablesPresent() {
    PgParams names;
    std::string query = "SELECT ";
    const auto present = [&](std::string name) {
        names.push_back(std::move(name));
        query += (names.size() > 1 ? " AND " : "") + std::string("to_regclass($") + std::to_string(names.size()) +
                 ") IS NOT NULL";
    };
    for (const TableDef* table : kTables) {
        present(PgTable(*table));
        present(Quoted(std::string(table->name) + " key"));
    }
    present(kNoteIdSequence);
    return connection_->exec(query, connection_->target(kLoanTable), names).text(0, 0) == "t";
}

// ---- Reads ----------------------------------------------------------------------------------------------------

std::vector<LoanRecord> PgBook::loans(LoanOrder order) {
    std::string orderBy;
    switch (order) {
        case LoanOrder::ById:
            orderBy = PgKey();
            break;
        case LoanOrder::ByName:
            orderBy = "lower(rtrim(coalesce(\"LastNm\", ''))) COLLATE \"C\", lower(rtrim(coalesce(\"FirstMI\", ''))) "
                      "COLLATE \"C\", " + PgKey();
            break;
        case LoanOrder::ByDueDate:
            // As in the files: loans without a due date come first.
            orderBy = "\"NextPmtDT\" NULLS FIRST, " + PgKey();
            break;
    }
    return Select<LoanRecord>(*connection_, "ORDER BY " + orderBy);
}

std::optional<LoanRecord> PgBook::loan(std::string_view loanNbr) { return SelectKey<LoanRecord>(*connection_, loanNbr); }

std::vector<PaymentRecord> PgBook::payments(std::string_view loanNbr) {
    return Select<PaymentRecord>(*connection_, "WHERE " + InLoanRange() + " ORDER BY " + PgKey(), RangeParams(loanNbr));
}

std::optional<PaymentRecord> PgBook::payment(std::string_view pmtKey) {
    return SelectKey<PaymentRecord>(*connection_, pmtKey);
}

// PmtDT is "mm/dd/yyyy" text; rearranged as yyyymmdd it compares as the dates do. Dates of another form are left
// out.
std::vector<PaymentRecord> PgBook::paymentsBetween(Date first, Date last) {
    return Select<PaymentRecord>(
        *connection_,
        "WHERE \"PmtDT\" ~ '^[0-9]{2}/[0-9]{2}/[0-9]{4}$' AND substr(\"PmtDT\", 7, 4) || substr(\"PmtDT\", 1, 2) || "
        "substr(\"PmtDT\", 4, 2) BETWEEN $1 AND $2",
        {FormatDate(first, "yyyymmdd"), FormatDate(last, "yyyymmdd")});
}

std::vector<NoteRecord> PgBook::notes(std::string_view loanNbr) {
    return Select<NoteRecord>(*connection_, "WHERE " + InLoanRange() + " ORDER BY " + Quoted(kNoteIdField) + ", " + PgKey(),
                              RangeParams(loanNbr));
}

std::optional<NoteRecord> PgBook::note(std::string_view noteKey) { return SelectKey<NoteRecord>(*connection_, noteKey); }

// ---- Loans ----------------------------------------------------------------------------------------------------

void PgBook::addLoan(const LoanRecord& loan) { Insert(*connection_, loan); }
Refusal PgBook::updateLoan(const LoanRecord& loan, const LoanCheck& check) {
    return connection_->transaction([&] {
        if (check) {
            if (Refusal refusal = check(lockLoan(loan.LoanNbr))) return refusal;
        }
        Update(*connection_, loan);
        return Refusal();
    });
}

void PgBook::deleteLoan(std::string_view loanNbr) {
    connection_->transaction([&] {
        lockLoan(loanNbr);
        deleteLoanRange(kPaymentTable, loanNbr);
        deleteLoanRange(kNoteTable, loanNbr);
        DeleteKey(*connection_, kLoanTable, loanNbr);
        return Refusal();
    });
}

void PgBook::deleteLoanRange(const TableDef& table, std::string_view loanNbr) {
    connection_->exec("DELETE FROM " + PgTable(table) + " WHERE " + InLoanRange(), connection_->target(table),
                      RangeParams(loanNbr));
}

// ---- Payments -------------------------------------------------------------------------------------------------

LoanOnFile PgBook::lockLoan(std::string_view loanNbr) {
    std::optional<LoanRecord> loan = SelectKey<LoanRecord>(*connection_, loanNbr, " FOR UPDATE");
    if (!loan) throw StoreError(NotOnFile(connection_->target(kLoanTable, TrimRight(loanNbr))));
    std::vector<PaymentRecord> newest = Select<PaymentRecord>(
        *connection_, "WHERE " + InLoanRange() + " ORDER BY " + PgKey() + " DESC LIMIT 1", RangeParams(loanNbr));
    LoanOnFile onFile{std::move(*loan), std::nullopt};
    if (!newest.empty()) onFile.newest = std::move(newest.front());
    return onFile;
}

void PgBook::setLoanBalance(std::string_view loanNbr, const std::string& balance,
                            const std::optional<Date>& nextPmtDT) {
    PgParams params{TrimRight(loanNbr), balance, std::nullopt};
    PgValue(params[2], nextPmtDT);
    connection_->exec("UPDATE " + PgTable(kLoanTable) + " SET \"Balance\" = $2, \"NextPmtDT\" = $3 WHERE " + KeyIs(1),
                      connection_->target(kLoanTable, *params[0]), params);
}

Refusal PgBook::storePayment(std::string_view loanNbr, const PaymentRecord& payment, const LoanCheck& check) {
    return connection_->transaction([&] {
        if (Refusal refusal = check(lockLoan(loanNbr))) return refusal;
        Insert(*connection_, payment);
        setLoanBalance(loanNbr, payment.Balance, payment.NextPmtDT);
        return Refusal();
    });
}

Refusal PgBook::removePayment(std::string_view loanNbr, std::string_view pmtKey, const std::string& balance,
                              const std::optional<Date>& nextPmtDT, const LoanCheck& check) {
    return connection_->transaction([&] {
        if (Refusal refusal = check(lockLoan(loanNbr))) return refusal;
        DeleteKey(*connection_, kPaymentTable, pmtKey);
        setLoanBalance(loanNbr, balance, nextPmtDT);
        return Refusal();
    });
}

// ---- Notes ----------------------------------------------------------------------------------------------------

// A number past every number the sequence handed out and past the highest on file (rows another tool added);
// the sequence never gives a number twice, even when its note is abandoned or deleted.
std::int64_t PgBook::beginNote() {
    std::int64_t next = 0;
    connection_->transaction([&] {
        const Target target = connection_->target(kNoteTable);
        connection_->exec(kNoteNumberLock, target);
        const std::string sequence = std::string("'") + kNoteIdSequence + "'";
        next = std::stoll(connection_
                              ->exec("SELECT setval(" + sequence + ", greatest(nextval(" + sequence +
                                         "), (SELECT coalesce(max(" + Quoted(kNoteIdField) + "), 0) + 1 FROM " +
                                         PgTable(kNoteTable) + ")))",
                                     target)
                              .text(0, 0));
        return Refusal();
    });
    return next;
}

void PgBook::addNote(const NoteRecord& note) { Insert(*connection_, note); }
void PgBook::updateNote(const NoteRecord& note) { Update(*connection_, note); }
void PgBook::removeNote(std::string_view noteKey) { DeleteKey(*connection_, kNoteTable, noteKey); }

// ---- The whole book -------------------------------------------------------------------------------------------

BookContents PgBook::readBook() {
    BookContents book;
    connection_->transaction([&] {
        connection_->exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY", connection_->target(kLoanTable));
        book.loans = Select<LoanRecord>(*connection_, "ORDER BY " + PgKey());
        book.payments = Select<PaymentRecord>(*connection_, "ORDER BY " + PgKey());
        book.notes = Select<NoteRecord>(*connection_, "ORDER BY " + PgKey());
        book.notesHandedOut = std::stoll(
            connection_
                ->exec("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + std::string(kNoteIdSequence),
                       connection_->target(kNoteTable))
                .text(0, 0));
        return Refusal();
    });
    return book;
}

void PgBook::loadEmptyBook(const BookContents& book) {
    connection_->transaction([&] {
        connection_->exec("LOCK TABLE \"KBLoan\", \"KBPmts\", \"KBNotes\" IN EXCLUSIVE MODE",
                          connection_->target(kLoanTable));
        for (const TableDef* table : kTables) {
            if (HoldsRecords(*connection_, *table)) {
                throw StoreError(connection_->name() + " already holds " + std::string(table->recordNoun) +
                                 " records: a book is copied into an empty database only");
            }
        }
        CopyIn(*connection_, book.loans);
        CopyIn(*connection_, book.payments);
        CopyIn(*connection_, book.notes);
        std::int64_t handedOut = book.notesHandedOut;
        for (const NoteRecord& note : book.notes) handedOut = std::max(handedOut, note.NoteID);
        if (handedOut > 0) {
            connection_->exec("SELECT setval('" + std::string(kNoteIdSequence) + "', $1)",
                              connection_->target(kNoteTable), {std::to_string(handedOut)});
        }
        return Refusal();
    });
}

}  // namespace kb
