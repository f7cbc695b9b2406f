#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "store/connection.h"
#include "store/sqlite_errors.h"
#include "store/statements.h"
#include "store/store.h"

namespace kb {

namespace {

// The single-table writes: add, update (the record must exist), remove (likewise).
template <class Record>
void AddRecord(const std::string& path, const Record& record) {
    Connection connection(path, Layout<Record>::table);
    Guarded(connection.target(KeyOf(record)), [&] { Insert(connection.db(), "main", record); });
}

template <class Record>
void UpdateRecord(const std::string& path, const Record& record) {
    Connection connection(path, Layout<Record>::table);
    GuardedChange(connection.target(KeyOf(record)), [&] { return Update(connection.db(), record); });
}

void RemoveRecord(const std::string& path, const TableDef& table, std::string_view key) {
    Connection connection(path, table);
    const Target target = connection.target(TrimRight(key));
    GuardedChange(target, [&] { return DeleteKey(connection.db(), "main", table, target.key); });
}

template <class Record>
std::optional<Record> FindRecord(const std::string& path, std::string_view key) {
    Connection connection(path, Layout<Record>::table);
    return Guarded(connection.target(), [&] { return SelectKey<Record>(connection.db(), TrimRight(key)); });
}

// The records of the file at `path` that `tail` selects (see Select).
template <class Record>
std::vector<Record> ReadRecords(const std::string& path, const std::string& tail,
                                const std::vector<std::string>& values = {}) {
    Connection connection(path, Layout<Record>::table);
    return Guarded(connection.target(), [&] { return Select<Record>(connection.db(), tail, values); });
}

// Hands every record of the file, in key order, to `visit`, without holding them all.
template <class Record>
void VisitRecords(const std::string& path, const std::function<void(const Record&)>& visit) {
    Connection connection(path, Layout<Record>::table);
    Guarded(connection.target(), [&] { SelectEach<Record>(connection.db(), "ORDER BY " + Quoted(kKeyField), {}, visit); });
}

template <class Record>
std::vector<Record> ReadLoanRecords(const std::string& path, std::string_view loanNbr, const std::string& order) {
    const KeyRange range = LoanKeyRange(loanNbr);
    return ReadRecords<Record>(path, "WHERE " + KeyRangeCondition() + " ORDER BY " + order, {range.from, range.before});
}

}  // namespace

// ---- Loans --------------------------------------------------------------------------------------------------

std::vector<LoanRecord> LoanTable::readAll(LoanOrder order) const {
    const std::string key = Quoted(kKeyField);
    std::string orderBy;
    switch (order) {
        case LoanOrder::ById:
            orderBy = key;
            break;
        case LoanOrder::ByName:
            orderBy =
                "rtrim(coalesce(\"LastNm\", '')) COLLATE NOCASE, rtrim(coalesce(\"FirstMI\", '')) COLLATE NOCASE, " +
                key;
            break;
        case LoanOrder::ByDueDate:
            // ISO text sorts chronologically; loans without a due date (NULL) come first.
            orderBy = "\"NextPmtDT\", " + key;
            break;
    }
    return ReadRecords<LoanRecord>(path_, "ORDER BY " + orderBy);
}

std::optional<LoanRecord> LoanTable::find(std::string_view loanNbr) const {
    return FindRecord<LoanRecord>(path_, loanNbr);
}
void LoanTable::add(const LoanRecord& loan) const { AddRecord(path_, loan); }
void LoanTable::update(const LoanRecord& loan) const { UpdateRecord(path_, loan); }
void LoanTable::remove(std::string_view loanNbr) const { RemoveRecord(path_, kLoanTable, loanNbr); }

// ---- Payments -----------------------------------------------------------------------------------------------

std::vector<PaymentRecord> PaymentTable::readAll() const {
    return ReadRecords<PaymentRecord>(path_, "ORDER BY " + Quoted(kKeyField));
}

void PaymentTable::forEach(const std::function<void(const PaymentRecord&)>& visit) const {
    VisitRecords(path_, visit);
}

std::vector<PaymentRecord> PaymentTable::readDateRange(Date first, Date last) const {
    // PmtDT is mm/dd/yyyy text, which sorts by date only within one year. So the range is cut into years: within a
    // year the plain text comparison holds, and it is cheap enough for a scan of the whole table; the year's
    // digits are then checked on the few rows that pass. Full years between the first and the last need the year
    // alone. No ORDER BY, so that the table is read straight through rather than row by row through the key.
    if (first > last) return {};
    static constexpr const char* kMask = "mm/dd/yyyy";
    static const std::string kPaidIn = "substr(\"PmtDT\", 7, 4)";
    std::vector<std::string> values;
    const auto value = [&values](std::string text) {
        values.push_back(std::move(text));
        return "?" + std::to_string(values.size());
    };
    // Each placeholder is taken in a statement of its own, so that they are numbered in the order written.
    const auto withinYear = [&](Date from, Date to) {
        const std::string low = value(FormatDate(from, kMask));
        const std::string high = value(FormatDate(to, kMask));
        const std::string year = value(FormatDate(from, "yyyy"));
        return "(\"PmtDT\" BETWEEN " + low + " AND " + high + " AND " + kPaidIn + " = " + year + ")";
    };
    std::string where;
    if (first.year() == last.year()) {
        where = withinYear(first, last);
    } else {
        where = withinYear(first, first.year() / std::chrono::December / 31);
        where += " OR " + withinYear(last.year() / std::chrono::January / 1, last);
        if (last.year() - first.year() > std::chrono::years(1)) {
            const std::string low = value(FormatDate(AddYears(first, 1), "yyyy"));
            const std::string high = value(FormatDate(AddYears(last, -1), "yyyy"));
            where += " OR " + kPaidIn + " BETWEEN " + low + " AND " + high;
        }
    }
    where = "(" + where + ") AND \"PmtDT\" GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'";
    return ReadRecords<PaymentRecord>(path_, "WHERE " + where, values);
}

std::vector<PaymentRecord> PaymentTable::readLoan(std::string_view loanNbr) const {
    return ReadLoanRecords<PaymentRecord>(path_, loanNbr, Quoted(kKeyField));
}

std::optional<PaymentRecord> PaymentTable::find(std::string_view pmtKey) const {
    return FindRecord<PaymentRecord>(path_, pmtKey);
}
void PaymentTable::add(const PaymentRecord& payment) const { AddRecord(path_, payment); }
void PaymentTable::update(const PaymentRecord& payment) const { UpdateRecord(path_, payment); }
void PaymentTable::remove(std::string_view pmtKey) const { RemoveRecord(path_, kPaymentTable, pmtKey); }

// ---- Notes --------------------------------------------------------------------------------------------------

std::vector<NoteRecord> NoteTable::readAll() const {
    return ReadRecords<NoteRecord>(path_, "ORDER BY " + Quoted(kKeyField));
}

std::int64_t NoteTable::handedOut() const {
    Connection connection(path_, kNoteTable);
    return Guarded(connection.target(), [&] { return connection.db().execAndGet("PRAGMA main.user_version").getInt64(); });
}

// The number goes past the highest ever handed out (kept in the file's user_version) and past the highest on
// file (rows another tool added), so a number is never used twice, even after its note was deleted or abandoned.
std::int64_t NoteTable::beginNote() const {
    Connection connection(path_, kNoteTable);
    const Target target = connection.target();
    return Guarded(target, [&] {
        SQLite::Database& db = connection.db();
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        const std::int64_t handedOut = db.execAndGet("PRAGMA main.user_version").getInt64();
        const std::int64_t onFile =
            db.execAndGet("SELECT coalesce(max(" + Quoted(kNoteIdField) + "), 0) FROM " + TableIn("main", kNoteTable))
                .getInt64();
        const std::int64_t used = std::max(handedOut, onFile);
        if (used >= std::numeric_limits<std::int32_t>::max()) {
            throw StoreError(target.file + ": every note number has been used");
        }
        const std::int64_t next = used + 1;
        db.exec("PRAGMA main.user_version = " + std::to_string(next));
        transaction.commit();
        return next;
    });
}

std::vector<NoteRecord> NoteTable::readLoan(std::string_view loanNbr) const {
    return ReadLoanRecords<NoteRecord>(path_, loanNbr, Quoted(kNoteIdField) + ", " + Quoted(kKeyField));
}

void NoteTable::forEach(const std::function<void(const NoteRecord&)>& visit) const { VisitRecords(path_, visit); }

std::optional<NoteRecord> NoteTable::find(std::string_view noteKey) const {
    return FindRecord<NoteRecord>(path_, noteKey);
}
void NoteTable::add(const NoteRecord& note) const { AddRecord(path_, note); }
void NoteTable::update(const NoteRecord& note) const { UpdateRecord(path_, note); }
void NoteTable::remove(std::string_view noteKey) const { RemoveRecord(path_, kNoteTable, noteKey); }

}  // namespace kb
