#include "store/statements.h"

#include <cstdio>

namespace kb {

namespace {

// Written field by field, not normalised, so that an impossible date reaches the table's date rule and is refused.
std::string IsoText(Date date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

}  // namespace

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

std::string TableIn(std::string_view schema, const TableDef& table) {
    return std::string(schema) + "." + Quoted(table.name);
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

}  // namespace kb
