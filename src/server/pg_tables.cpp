#include "server/pg_tables.h"

namespace kb {

namespace {

constexpr int kLoanPartLength = 8;

std::string PgFieldSql(const Field& field, bool isKey) {
    const std::string name = Quoted(field.name);
    std::string sql = name;
    switch (field.type) {
        case FieldType::Text:
        case FieldType::Memo:
            sql += " text";
            break;
        case FieldType::Date:
            sql += " date";
            break;
        case FieldType::AutoNumber:
            sql += " bigint CONSTRAINT " + name + " UNIQUE";
            break;
    }
    if (isKey) {
        sql += " NOT NULL PRIMARY KEY CONSTRAINT " + Quoted(kBlankKeyConstraint) + " CHECK(trim(substr(" + name +
               ", 1, " + std::to_string(kLoanPartLength) + ")) <> '')";
    }
    if (field.type == FieldType::Text) {
        sql += " CONSTRAINT " + name + " CHECK(char_length(" + name + ") <= " + std::to_string(field.size) + ")";
    }
    return sql;
}

}  // namespace

std::string PgCreateTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + PgTable(table) + " (";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        sql += (i == 0 ? "\n  " : ",\n  ") + PgFieldSql(table.fields[i], i == 0);
    }
    return sql + "\n)";
}

std::string PgKeyIndexSql(const TableDef& table) {
    return "CREATE UNIQUE INDEX IF NOT EXISTS " + Quoted(std::string(table.name) + " key") + " ON " + PgTable(table) +
           " (" + PgKey() + ")";
}

std::string PgKey() { return "(lower(" + Quoted(kKeyField) + ") COLLATE \"C\")"; }

std::string PgTable(const TableDef& table) { return Quoted(table.name); }

void PgValue(std::optional<std::string>& param, const std::string& value) { param = value; }
void PgValue(std::optional<std::string>& param, const std::optional<Date>& value) {
    if (value) param = ToIso(*value);
}
void PgValue(std::optional<std::string>& param, std::int64_t value) { param = std::to_string(value); }

void ReadPgValue(const PgResult& result, int row, int column, std::string& value) {
    value = result.isNull(row, column) ? std::string() : result.text(row, column);
}
void ReadPgValue(const PgResult& result, int row, int column, std::optional<Date>& value) {
    value = result.isNull(row, column) ? std::nullopt : FromIso(result.text(row, column));
}
void ReadPgValue(const PgResult& result, int row, int column, std::int64_t& value) {
    value = result.isNull(row, column) ? 0 : std::stoll(result.text(row, column));
}

}  // namespace kb
