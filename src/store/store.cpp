#include "store/store.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <tuple>
#include <utility>

#include "core/error_trap.h"
#include "core/format.h"
#include "store/schema.h"

namespace kb {

namespace {

constexpr int kBusyTimeoutMs = 2000;
constexpr std::string_view kPaymentsSchema = "pmts";
constexpr std::string_view kNotesSchema = "notes";

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return AsciiUpper(x) == AsciiUpper(y);
    });
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// ---- Describing failures -------------------------------------------------------------------------------------

// What a statement works on: the table, its file, and the key of the record it writes.
struct Target {
    const TableDef* table;
    std::string file;
    std::string key;
};

// A payment or note key split into the loan number (right-trimmed) and what follows its 8 characters.
std::pair<std::string, std::string> SplitKey(std::string_view key) {
    const std::string loanPart = PaddedLoanNbr(key);
    const std::size_t cut = std::min(key.size(), loanPart.size());
    return {TrimRight(loanPart), std::string(key.substr(cut))};
}

std::string PaymentDateOfKey(std::string_view suffix) {
    if (suffix.size() != 8) return std::string(suffix);
    return std::string(suffix.substr(4, 2)) + "/" + std::string(suffix.substr(6, 2)) + "/" +
           std::string(suffix.substr(0, 4));
}

std::string NoteNumberOfKey(std::string_view suffix) {
    const std::size_t first = suffix.find_first_not_of('0');
    if (first == std::string_view::npos) return suffix.empty() ? std::string() : "0";
    return std::string(suffix.substr(first));
}

std::string AlreadyOnFile(const Target& target) {
    const auto [loanNbr, suffix] = SplitKey(target.key);
    if (target.table == &kPaymentTable) {
        return "Loan " + loanNbr + " already has a payment dated " + PaymentDateOfKey(suffix);
    }
    if (target.table == &kNoteTable) return "Loan " + loanNbr + " already has note number " + NoteNumberOfKey(suffix);
    return "Loan number " + target.key + " is already on file";
}

std::string NotOnFile(const Target& target) {
    const auto [loanNbr, suffix] = SplitKey(target.key);
    if (target.table == &kPaymentTable) {
        return "Payment not found: loan " + loanNbr + " has no payment dated " + PaymentDateOfKey(suffix);
    }
    if (target.table == &kNoteTable) {
        return "Note not found: loan " + loanNbr + " has no note number " + NoteNumberOfKey(suffix);
    }
    return "Loan number " + target.key + " is not on file";
}

std::string EmptyKey(const TableDef& table) {
    if (&table == &kLoanTable) return "The loan number is empty";
    return "The " + std::string(table.recordNoun) + " has no loan number";
}

std::string NoSuchField(const Target& target, std::string_view field) {
    return target.file + ": table " + std::string(target.table->name) + " has no field " + std::string(field);
}

// The text after the last occurrence of `marker` in the message, or empty.
std::string After(std::string_view message, std::string_view marker) {
    const std::size_t at = message.rfind(marker);
    return at == std::string_view::npos ? std::string() : std::string(message.substr(at + marker.size()));
}

std::string DescribeRefusedValue(const Target& target, std::string_view constraint, std::string_view message) {
    if (constraint == kBlankKeyConstraint) return EmptyKey(*target.table);
    const Field* field = FindField(*target.table, constraint);
    if (field != nullptr && field->type == FieldType::Date) return std::string(field->caption) + " is not a date";
    if (field != nullptr && field->type == FieldType::Text) {
        return std::string(field->caption) + " holds at most " + std::to_string(field->size) + " characters";
    }
    return target.file + ": " + std::string(message);
}

// An SQLite failure in words a lender understands, naming the file, the field or the key.
std::string Describe(const SQLite::Exception& error, const Target& target) {
    const std::string_view message = error.what();
    const int extended = error.getExtendedErrorCode() >= 0 ? error.getExtendedErrorCode() : error.getErrorCode();
    switch (extended & 0xFF) {
        case SQLITE_CONSTRAINT:
            if (extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE) {
                if (After(message, ".") == kNoteIdField) {
                    return "Note number " + NoteNumberOfKey(SplitKey(target.key).second) + " is already on file";
                }
                return AlreadyOnFile(target);
            }
            if (extended == SQLITE_CONSTRAINT_NOTNULL && After(message, ".") == kKeyField) {
                return EmptyKey(*target.table);
            }
            if (extended == SQLITE_CONSTRAINT_CHECK) {
                return DescribeRefusedValue(target, After(message, "CHECK constraint failed: "), message);
            }
            break;
        case SQLITE_NOTADB:
            return target.file + " is not a database file";
        case SQLITE_CANTOPEN:
            return target.file + " cannot be opened";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return target.file + " is in use by another program";
        case SQLITE_READONLY:
            return target.file + " is read-only";
        case SQLITE_FULL:
            return target.file + ": the disk is full";
        case SQLITE_CORRUPT:
            return target.file + " is damaged";
        case SQLITE_ERROR:
            if (StartsWith(message, "no such table")) {
                return target.file + " has no table " + std::string(target.table->name);
            }
            if (StartsWith(message, "no such column: ")) return NoSuchField(target, After(message, ": "));
            if (message.find("has no column named ") != std::string_view::npos) {
                return NoSuchField(target, After(message, "has no column named "));
            }
            break;
        default:
            break;
    }
    return target.file + ": " + std::string(message);
}

// Runs `action`, turning any SQLite failure into a StoreError about `target`.
template <class Action>
auto Guarded(const Target& target, Action&& action) -> decltype(action()) {
    try {
        return action();
    } catch (const SQLite::Exception& error) {
        throw StoreError(Describe(error, target));
    }
}

// ---- Connections --------------------------------------------------------------------------------------------

// A file left in WAL mode would break the atomic commit across attached files, so every schema is switched to
// the rollback journal, and the switch is read back.
void UseRollbackJournal(SQLite::Database& db, std::string_view schema, const std::string& file) {
    const std::string prefix = "PRAGMA " + std::string(schema) + ".";
    const std::string mode = db.execAndGet(prefix + "journal_mode = DELETE").getString();
    if (!EqualsNoCase(mode, "delete")) {
        throw StoreError(file + " is kept in " + mode +
                         " journal mode by another program and cannot be switched back; close that program and "
                         "try again");
    }
    db.exec(prefix + "synchronous = FULL");
}

// A double-quoted name that is not a column would otherwise be read as a text literal: a file whose table lacks a
// field would read that field's name as its value instead of being refused.
void UseStrictNames(SQLite::Database& db) {
    sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr));
    sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_DQS_DDL, 0, static_cast<int*>(nullptr));
}

void RequireFile(const std::string& path, const std::string& file) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw StoreError(file + " was not found");
}

// One connection for one operation: the file of `table` as main, other files attached. Never creates a file.
class Connection {
public:
    Connection(const std::string& path, const TableDef& table)
        : main_{&table, FileName(path), ""}, files_(main_.file), db_(Open(path, main_)) {}

    void attach(const std::string& path, const TableDef& table, std::string_view schema) {
        const Target target{&table, FileName(path), ""};
        RequireFile(path, target.file);
        Guarded(target, [&] {
            SQLite::Statement attach(db_, "ATTACH DATABASE ?1 AS " + std::string(schema));
            attach.bind(1, path);
            attach.exec();
            UseRollbackJournal(db_, schema, target.file);
        });
        files_ += ", " + target.file;
        schemas_.emplace_back(std::string(schema), target);
    }

    SQLite::Database& db() { return db_; }

    // The target of a statement on the main file or on an attached one, writing the record with `key`.
    Target target(std::string key = "") const { return {main_.table, main_.file, std::move(key)}; }
    Target target(std::string_view schema, std::string key) const {
        for (const auto& [name, attached] : schemas_) {
            if (name == schema) return {attached.table, attached.file, std::move(key)};
        }
        return target(std::move(key));
    }
    // The target of what touches every file at once: the commit.
    Target allFiles() const { return {main_.table, files_, ""}; }

private:
    static SQLite::Database Open(const std::string& path, const Target& target) {
        RequireFile(path, target.file);
        return Guarded(target, [&] {
            SQLite::Database db(path, SQLite::OPEN_READWRITE, kBusyTimeoutMs);
            UseStrictNames(db);
            UseRollbackJournal(db, "main", target.file);
            return db;
        });
    }

    Target main_;
    std::string files_;
    std::vector<std::pair<std::string, Target>> schemas_;
    SQLite::Database db_;
};

// ---- Records and columns ------------------------------------------------------------------------------------

// The members of each record in the order of its table's fields.
template <class Record>
struct Layout;

template <>
struct Layout<LoanRecord> {
    static constexpr const TableDef& table = kLoanTable;
    static constexpr auto members = std::make_tuple(
        &LoanRecord::LoanNbr, &LoanRecord::LastNm, &LoanRecord::FirstMI, &LoanRecord::Street, &LoanRecord::City,
        &LoanRecord::State, &LoanRecord::Zip, &LoanRecord::Phone, &LoanRecord::WrkPhone, &LoanRecord::Collateral,
        &LoanRecord::LoanDT, &LoanRecord::LoanAmt, &LoanRecord::APR, &LoanRecord::PmtsPerYr, &LoanRecord::NextPmtDT,
        &LoanRecord::Payment, &LoanRecord::Balance);
};

template <>
struct Layout<PaymentRecord> {
    static constexpr const TableDef& table = kPaymentTable;
    static constexpr auto members =
        std::make_tuple(&PaymentRecord::LoanNbr, &PaymentRecord::PmtDT, &PaymentRecord::Amount, &PaymentRecord::LateFee,
                        &PaymentRecord::NbrPmts, &PaymentRecord::Principal, &PaymentRecord::Interest,
                        &PaymentRecord::NextPmtDT, &PaymentRecord::Balance, &PaymentRecord::ChkNbr);
};

template <>
struct Layout<NoteRecord> {
    static constexpr const TableDef& table = kNoteTable;
    static constexpr auto members = std::make_tuple(&NoteRecord::LoanNbr, &NoteRecord::NoteDT, &NoteRecord::Subject,
                                                    &NoteRecord::Note, &NoteRecord::NoteID);
};

static_assert(std::tuple_size_v<decltype(Layout<LoanRecord>::members)> == kLoanFields.size());
static_assert(std::tuple_size_v<decltype(Layout<PaymentRecord>::members)> == kPaymentFields.size());
static_assert(std::tuple_size_v<decltype(Layout<NoteRecord>::members)> == kNoteFields.size());

// Written field by field, not normalised, so that an impossible date reaches the table's date rule and is refused.
std::string IsoText(Date date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

void BindValue(SQLite::Statement& statement, int index, const std::string& value) { statement.bind(index, value); }
void BindValue(SQLite::Statement& statement, int index, const std::optional<Date>& value) {
    if (value) {
        statement.bind(index, IsoText(*value));
    } else {
        statement.bind(index);
    }
}
void BindValue(SQLite::Statement& statement, int index, std::int64_t value) { statement.bind(index, value); }

void ReadValue(const SQLite::Column& column, std::string& value) {
    value = column.isNull() ? std::string() : column.getString();
}
void ReadValue(const SQLite::Column& column, std::optional<Date>& value) {
    value = column.isNull() ? std::nullopt : FromIso(column.getString());
}
void ReadValue(const SQLite::Column& column, std::int64_t& value) { value = column.getInt64(); }

// Binds the record's fields to ?1 ... ?n in table order.
template <class Record>
void BindRecord(SQLite::Statement& statement, const Record& record) {
    int index = 1;
    std::apply([&](auto... member) { (BindValue(statement, index++, record.*member), ...); }, Layout<Record>::members);
}

template <class Record>
Record ReadRecord(const SQLite::Statement& statement) {
    Record record;
    int index = 0;
    std::apply([&](auto... member) { (ReadValue(statement.getColumn(index++), record.*member), ...); },
               Layout<Record>::members);
    return record;
}

std::string TableIn(std::string_view schema, const TableDef& table) {
    return std::string(schema) + "." + Quoted(table.name);
}

// `tail` follows the FROM clause: WHERE and ORDER BY; `values` are bound to ?1, ?2, ...
template <class Record>
std::vector<Record> Select(SQLite::Database& db, const std::string& tail, const std::vector<std::string>& values = {}) {
    const TableDef& table = Layout<Record>::table;
    SQLite::Statement select(db, "SELECT " + ColumnList(table) + " FROM " + TableIn("main", table) + " " + tail);
    for (std::size_t i = 0; i < values.size(); ++i) select.bind(static_cast<int>(i) + 1, values[i]);
    std::vector<Record> records;
    while (select.executeStep()) records.push_back(ReadRecord<Record>(select));
    return records;
}

template <class Record>
std::optional<Record> SelectKey(SQLite::Database& db, const std::string& key) {
    auto records = Select<Record>(db, "WHERE " + Quoted(kKeyField) + " = ?1", {key});
    if (records.empty()) return std::nullopt;
    return std::move(records.front());
}

// Stored keys never end in blanks, so that lookups with a right-trimmed key find them.
template <class Record>
void Insert(SQLite::Database& db, std::string_view schema, Record record) {
    const TableDef& table = Layout<Record>::table;
    record.LoanNbr = TrimRight(record.LoanNbr);
    std::string values;
    for (std::size_t i = 1; i <= table.fields.size(); ++i) values += (i == 1 ? "?" : ", ?") + std::to_string(i);
    SQLite::Statement insert(
        db, "INSERT INTO " + TableIn(schema, table) + " (" + ColumnList(table) + ") VALUES (" + values + ")");
    BindRecord(insert, record);
    insert.exec();
}

// Returns the number of records changed: 0 when no record has the key.
template <class Record>
int Update(SQLite::Database& db, Record record) {
    const TableDef& table = Layout<Record>::table;
    record.LoanNbr = TrimRight(record.LoanNbr);
    std::string assignments;
    for (std::size_t i = 1; i < table.fields.size(); ++i) {
        if (i > 1) assignments += ", ";
        assignments += Quoted(table.fields[i].name) + " = ?" + std::to_string(i + 1);
    }
    SQLite::Statement update(
        db, "UPDATE " + TableIn("main", table) + " SET " + assignments + " WHERE " + Quoted(kKeyField) + " = ?1");
    BindRecord(update, record);
    return update.exec();
}

int DeleteKey(SQLite::Database& db, std::string_view schema, const TableDef& table, const std::string& key) {
    SQLite::Statement erase(db, "DELETE FROM " + TableIn(schema, table) + " WHERE " + Quoted(kKeyField) + " = ?1");
    erase.bind(1, key);
    return erase.exec();
}

void DeleteKeyRange(SQLite::Database& db, std::string_view schema, const TableDef& table, const KeyRange& range) {
    SQLite::Statement erase(db, "DELETE FROM " + TableIn(schema, table) + " WHERE " + KeyRangeCondition());
    erase.bind(1, range.from);
    erase.bind(2, range.before);
    erase.exec();
}

int SetLoanBalance(SQLite::Database& db, const std::string& loanNbr, const std::string& balance,
                   const std::optional<Date>& nextPmtDT) {
    SQLite::Statement update(db, "UPDATE " + TableIn("main", kLoanTable) +
                                     " SET \"Balance\" = ?2, \"NextPmtDT\" = ?3 "
                                     "WHERE " +
                                     Quoted(kKeyField) + " = ?1");
    update.bind(1, loanNbr);
    BindValue(update, 2, balance);
    BindValue(update, 3, nextPmtDT);
    return update.exec();
}

template <class Record>
std::string KeyOf(const Record& record) {
    return TrimRight(record.LoanNbr);
}

// The single-table writes: add, update (the record must exist), remove (likewise).
template <class Record>
void AddRecord(const std::string& path, const Record& record) {
    Connection connection(path, Layout<Record>::table);
    Guarded(connection.target(KeyOf(record)), [&] { Insert(connection.db(), "main", record); });
}

template <class Record>
void UpdateRecord(const std::string& path, const Record& record) {
    Connection connection(path, Layout<Record>::table);
    const Target target = connection.target(KeyOf(record));
    if (Guarded(target, [&] { return Update(connection.db(), record); }) == 0) throw StoreError(NotOnFile(target));
}

void RemoveRecord(const std::string& path, const TableDef& table, std::string_view key) {
    Connection connection(path, table);
    const Target target = connection.target(TrimRight(key));
    if (Guarded(target, [&] { return DeleteKey(connection.db(), "main", table, target.key); }) == 0) {
        throw StoreError(NotOnFile(target));
    }
}

template <class Record>
std::optional<Record> FindRecord(const std::string& path, std::string_view key) {
    Connection connection(path, Layout<Record>::table);
    return Guarded(connection.target(), [&] { return SelectKey<Record>(connection.db(), TrimRight(key)); });
}

template <class Record>
std::vector<Record> ReadLoanRecords(const std::string& path, std::string_view loanNbr, const std::string& order) {
    Connection connection(path, Layout<Record>::table);
    const KeyRange range = LoanKeyRange(loanNbr);
    return Guarded(connection.target(), [&] {
        return Select<Record>(connection.db(), "WHERE " + KeyRangeCondition() + " ORDER BY " + order,
                              {range.from, range.before});
    });
}

}  // namespace

// ---- Files --------------------------------------------------------------------------------------------------

void CreateTableFile(const std::string& path, TableNumber table) {
    const TableDef& definition = TableOf(table);
    const Target target{&definition, FileName(path), ""};
    std::error_code error;
    if (std::filesystem::exists(path, error)) throw StoreError(target.file + " already exists");
    try {
        Guarded(target, [&] {
            SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, kBusyTimeoutMs);
            UseStrictNames(db);
            UseRollbackJournal(db, "main", target.file);
            db.exec(CreateTableSql(definition));
        });
    } catch (...) {
        // A half-made file would pass for a present one at the next start.
        std::filesystem::remove(path, error);
        throw;
    }
}

void CheckTableFile(const std::string& path, TableNumber table) {
    const TableDef& definition = TableOf(table);
    Connection connection(path, definition);
    const Target target = connection.target();
    const auto columns = Guarded(target, [&] {
        SQLite::Statement info(connection.db(), "PRAGMA main.table_info(" + Quoted(definition.name) + ")");
        std::vector<std::string> names;
        while (info.executeStep()) names.push_back(info.getColumn(1).getString());
        return names;
    });
    if (columns.empty()) throw StoreError(target.file + " has no table " + std::string(definition.name));
    const std::string inTable = target.file + ": table " + std::string(definition.name);
    for (std::size_t i = 0; i < definition.fields.size(); ++i) {
        const std::string_view field = definition.fields[i].name;
        if (i < columns.size() && EqualsNoCase(columns[i], field)) continue;
        const bool elsewhere =
            std::any_of(columns.begin(), columns.end(), [&](const std::string& c) { return EqualsNoCase(c, field); });
        if (elsewhere) throw StoreError(inTable + " has field " + std::string(field) + " out of its place");
        throw StoreError(NoSuchField(target, field));
    }
    if (columns.size() > definition.fields.size()) {
        throw StoreError(inTable + " has an unknown field " + columns[definition.fields.size()]);
    }
}

void MakeDBFile(const std::string& path, int tableNumber, Dialogs& dialogs) {
    static constexpr const char* kLabel = "MAKE DB FILE";
    ErrorTrap trap(dialogs, kLabel);
    if (!trap.run([&] { CreateTableFile(path, static_cast<TableNumber>(tableNumber)); })) {
        trap.record(trap.description() + "/" + std::to_string(tableNumber));
    }
}

// ---- Keys ---------------------------------------------------------------------------------------------------

std::string PmtKey(std::string_view loanNbr, std::string_view pmtDT) {
    // Characters `start` (from 1) on, `length` of them, as far as the text goes.
    const auto mid = [&](std::size_t start, std::size_t length) {
        return start - 1 < pmtDT.size() ? std::string(pmtDT.substr(start - 1, length)) : std::string();
    };
    return PaddedLoanNbr(loanNbr) + mid(7, 4) + mid(1, 2) + mid(4, 2);
}

std::string NoteKey(std::string_view loanNbr, std::int64_t noteID) {
    return PaddedLoanNbr(loanNbr) + FormatNumber(static_cast<double>(noteID), "0000");
}

// ---- Tables -------------------------------------------------------------------------------------------------

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
    Connection connection(path_, kLoanTable);
    return Guarded(connection.target(), [&] { return Select<LoanRecord>(connection.db(), "ORDER BY " + orderBy); });
}

std::optional<LoanRecord> LoanTable::find(std::string_view loanNbr) const {
    return FindRecord<LoanRecord>(path_, loanNbr);
}
void LoanTable::add(const LoanRecord& loan) const { AddRecord(path_, loan); }
void LoanTable::update(const LoanRecord& loan) const { UpdateRecord(path_, loan); }
void LoanTable::remove(std::string_view loanNbr) const { RemoveRecord(path_, kLoanTable, loanNbr); }

std::vector<PaymentRecord> PaymentTable::readAll() const {
    Connection connection(path_, kPaymentTable);
    return Guarded(connection.target(),
                   [&] { return Select<PaymentRecord>(connection.db(), "ORDER BY " + Quoted(kKeyField)); });
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
    Connection connection(path_, kPaymentTable);
    return Guarded(connection.target(),
                   [&] { return Select<PaymentRecord>(connection.db(), "WHERE " + where, values); });
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

std::optional<NoteRecord> NoteTable::find(std::string_view noteKey) const {
    return FindRecord<NoteRecord>(path_, noteKey);
}
void NoteTable::add(const NoteRecord& note) const { AddRecord(path_, note); }
void NoteTable::update(const NoteRecord& note) const { UpdateRecord(path_, note); }
void NoteTable::remove(std::string_view noteKey) const { RemoveRecord(path_, kNoteTable, noteKey); }

// ---- Book operations ----------------------------------------------------------------------------------------
// Each is one transaction on one connection: the loan file, with the other files attached. `at` follows the
// statement being run, so that a refusal is described for the table it came from.

void PostPayment(const BookFiles& files, std::string_view loanNbr, const PaymentRecord& payment) {
    Connection connection(files.loanDB, kLoanTable);
    connection.attach(files.pmtsDB, kPaymentTable, kPaymentsSchema);
    const Target loan = connection.target(TrimRight(loanNbr));
    const Target paymentTarget = connection.target(kPaymentsSchema, KeyOf(payment));
    const Target commit = connection.allFiles();
    const Target* at = &commit;
    try {
        SQLite::Transaction transaction(connection.db(), SQLite::TransactionBehavior::IMMEDIATE);
        at = &paymentTarget;
        Insert(connection.db(), kPaymentsSchema, payment);
        at = &loan;
        if (SetLoanBalance(connection.db(), loan.key, payment.Balance, payment.NextPmtDT) == 0) {
            throw StoreError(NotOnFile(loan));
        }
        at = &commit;
        transaction.commit();
    } catch (const SQLite::Exception& error) {
        throw StoreError(Describe(error, *at));
    }
}

void DeletePayment(const BookFiles& files, std::string_view loanNbr, std::string_view pmtKey,
                   const std::string& restoredBalance, const std::optional<Date>& restoredNextPmtDT) {
    Connection connection(files.loanDB, kLoanTable);
    connection.attach(files.pmtsDB, kPaymentTable, kPaymentsSchema);
    const Target loan = connection.target(TrimRight(loanNbr));
    const Target paymentTarget = connection.target(kPaymentsSchema, TrimRight(pmtKey));
    const Target commit = connection.allFiles();
    const Target* at = &commit;
    try {
        SQLite::Transaction transaction(connection.db(), SQLite::TransactionBehavior::IMMEDIATE);
        at = &paymentTarget;
        if (DeleteKey(connection.db(), kPaymentsSchema, kPaymentTable, paymentTarget.key) == 0) {
            throw StoreError(NotOnFile(paymentTarget));
        }
        at = &loan;
        if (SetLoanBalance(connection.db(), loan.key, restoredBalance, restoredNextPmtDT) == 0) {
            throw StoreError(NotOnFile(loan));
        }
        at = &commit;
        transaction.commit();
    } catch (const SQLite::Exception& error) {
        throw StoreError(Describe(error, *at));
    }
}

void DeleteLoan(const BookFiles& files, std::string_view loanNbr) {
    Connection connection(files.loanDB, kLoanTable);
    connection.attach(files.pmtsDB, kPaymentTable, kPaymentsSchema);
    connection.attach(files.notesDB, kNoteTable, kNotesSchema);
    const KeyRange range = LoanKeyRange(loanNbr);
    const Target loan = connection.target(TrimRight(loanNbr));
    const Target payments = connection.target(kPaymentsSchema, "");
    const Target notes = connection.target(kNotesSchema, "");
    const Target commit = connection.allFiles();
    const Target* at = &commit;
    try {
        SQLite::Transaction transaction(connection.db(), SQLite::TransactionBehavior::IMMEDIATE);
        at = &payments;
        DeleteKeyRange(connection.db(), kPaymentsSchema, kPaymentTable, range);
        at = &notes;
        DeleteKeyRange(connection.db(), kNotesSchema, kNoteTable, range);
        at = &loan;
        if (DeleteKey(connection.db(), "main", kLoanTable, loan.key) == 0) throw StoreError(NotOnFile(loan));
        at = &commit;
        transaction.commit();
    } catch (const SQLite::Exception& error) {
        throw StoreError(Describe(error, *at));
    }
}

}  // namespace kb
