#pragma once
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/dates.h"
#include "server/pg_connection.h"
#include "store/layout.h"

// Private to server/: the three tables on the server, made from the same field tables as the SQLite files, and
// their records as statement values.

namespace kb {

// CREATE TABLE IF NOT EXISTS text: the fields in table order, sizes and the blank-key rule as constraints named
// as in the files, so that a refusal names the field. The key is also unique without regard to case (KeyIndexSql).
std::string PgCreateTableSql(const TableDef& table);
std::string PgKeyIndexSql(const TableDef& table);

// The key as every lookup, range and order compares it: lower case, byte by byte, as the files' NOCASE does.
std::string PgKey();
// The table's name, quoted.
std::string PgTable(const TableDef& table);
// The sequence the note numbers are handed out from.
inline constexpr const char* kNoteIdSequence = "\"KBNotes Note-ID\"";

void PgValue(std::optional<std::string>& param, const std::string& value);
void PgValue(std::optional<std::string>& param, const std::optional<Date>& value);
void PgValue(std::optional<std::string>& param, std::int64_t value);
void ReadPgValue(const PgResult& result, int row, int column, std::string& value);
void ReadPgValue(const PgResult& result, int row, int column, std::optional<Date>& value);
void ReadPgValue(const PgResult& result, int row, int column, std::int64_t& value);

// The record's fields as $1 ... $n in table order.
template <class Record>
PgParams ParamsOf(const Record& record) {
    PgParams params(Layout<Record>::table.fields.size());
    std::size_t index = 0;
    std::apply([&](auto... member) { (PgValue(params[index++], record.*member), ...); }, Layout<Record>::members);
    return params;
}

template <class Record>
std::vector<Record> RecordsOf(const PgResult& result) {
    std::vector<Record> records(static_cast<std::size_t>(result.rows()));
    for (int row = 0; row < result.rows(); ++row) {
        int column = 0;
        std::apply([&](auto... member) {
            (ReadPgValue(result, row, column++, records[static_cast<std::size_t>(row)].*member), ...);
        }, Layout<Record>::members);
    }
    return records;
}

// The record's fields as one line of COPY's text form.
template <class Record>
void AppendCopyLine(std::string& data, const Record& record) {
    const PgParams params = ParamsOf(record);
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (i > 0) data += '\t';
        if (!params[i]) {
            data += "\\N";
            continue;
        }
        for (char c : *params[i]) {
            switch (c) {
                case '\\': data += "\\\\"; break;
                case '\t': data += "\\t"; break;
                case '\n': data += "\\n"; break;
                case '\r': data += "\\r"; break;
                default: data += c;
            }
        }
    }
    data += '\n';
}

}  // namespace kb
