#pragma once
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/format.h"
#include "store/layout.h"
#include "store/records.h"
#include "store/schema.h"

// Private to store/: the statements on the three tables, made from their field tables. They let SQLite failures
// through; callers describe them for the record they write (store/sqlite_errors.h).

namespace kb {

void BindValue(SQLite::Statement& statement, int index, const std::string& value);
// A date as ISO yyyy-mm-dd text, a missing one as NULL.
void BindValue(SQLite::Statement& statement, int index, const std::optional<Date>& value);
void BindValue(SQLite::Statement& statement, int index, std::int64_t value);

// NULL reads as empty text, as no date, as 0.
void ReadValue(const SQLite::Column& column, std::string& value);
void ReadValue(const SQLite::Column& column, std::optional<Date>& value);
void ReadValue(const SQLite::Column& column, std::int64_t& value);

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

// The table as named in `schema`: "main" or the name a file is attached under.
std::string TableIn(std::string_view schema, const TableDef& table);

// The key a record is stored under: its LoanNbr without trailing blanks.
template <class Record>
std::string KeyOf(const Record& record) {
    return TrimRight(record.LoanNbr);
}

// Hands each record that `tail` selects to `visit`, one at a time. `tail` follows the FROM clause: WHERE and
// ORDER BY; `values` are bound to ?1, ?2, ...
template <class Record, class Visit>
void SelectEach(SQLite::Database& db, const std::string& tail, const std::vector<std::string>& values, Visit&& visit,
                std::string_view schema = "main") {
    const TableDef& table = Layout<Record>::table;
    SQLite::Statement select(db, "SELECT " + ColumnList(table) + " FROM " + TableIn(schema, table) + " " + tail);
    for (std::size_t i = 0; i < values.size(); ++i) select.bind(static_cast<int>(i) + 1, values[i]);
    while (select.executeStep()) visit(ReadRecord<Record>(select));
}

template <class Record>
std::vector<Record> Select(SQLite::Database& db, const std::string& tail, const std::vector<std::string>& values = {},
                           std::string_view schema = "main") {
    std::vector<Record> records;
    SelectEach<Record>(
        db, tail, values, [&records](Record record) { records.push_back(std::move(record)); }, schema);
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
    record.LoanNbr = KeyOf(record);
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
    record.LoanNbr = KeyOf(record);
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

// Returns the number of records deleted: 0 when no record has the key.
int DeleteKey(SQLite::Database& db, std::string_view schema, const TableDef& table, const std::string& key);

void DeleteKeyRange(SQLite::Database& db, std::string_view schema, const TableDef& table, const KeyRange& range);

}  // namespace kb
