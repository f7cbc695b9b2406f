#include "store/schema.h"

#include <cstddef>

#include "core/format.h"

namespace kb {

namespace {

constexpr std::size_t kLoanPartLength = 8;
// With the GLOB, date(x, '+0 days') = x refuses dates that do not exist: a modifier makes date() normalise,
// 2001-02-30 becomes 2001-03-02 (without one, date() passes day 30 of February through unchanged).
constexpr std::string_view kIsoDatePattern = "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'";

std::string FieldSql(const Field& field, bool isKey) {
    const std::string name = Quoted(field.name);
    std::string sql = name;
    switch (field.type) {
        case FieldType::Text:
        case FieldType::Memo:
            sql += " TEXT";
            break;
        case FieldType::Date:
            sql += " TEXT CONSTRAINT " + name + " CHECK(" + name + " IS NULL OR (" + name + " GLOB " +
                   std::string(kIsoDatePattern) + " AND date(" + name + ", '+0 days') = " + name + "))";
            break;
        case FieldType::AutoNumber:
            sql += " INTEGER UNIQUE";
            break;
    }
    if (isKey) {
        sql += " COLLATE NOCASE PRIMARY KEY NOT NULL CONSTRAINT " + Quoted(kBlankKeyConstraint) +
               " CHECK(trim(substr(" + name + ", 1, " + std::to_string(kLoanPartLength) + ")) <> '')";
    }
    if (field.type == FieldType::Text) {
        sql += " CONSTRAINT " + name + " CHECK(length(" + name + ") <= " + std::to_string(field.size) + ")";
    }
    return sql;
}

}  // namespace

const TableDef& TableOf(TableNumber table) {
    switch (table) {
        case TableNumber::Loans:
            return kLoanTable;
        case TableNumber::Payments:
            return kPaymentTable;
        case TableNumber::Notes:
            return kNoteTable;
    }
    throw StoreError("There is no table number " + std::to_string(static_cast<int>(table)));
}

const Field* FindField(const TableDef& table, std::string_view name) {
    for (const Field& field : table.fields) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

std::string Quoted(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CreateTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE " + Quoted(table.name) + " (";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        sql += (i == 0 ? "\n  " : ",\n  ") + FieldSql(table.fields[i], i == 0);
    }
    return sql + "\n)";
}

std::string ColumnList(const TableDef& table) {
    std::string list;
    for (const Field& field : table.fields) {
        if (!list.empty()) list += ", ";
        list += Quoted(field.name);
    }
    return list;
}

// Trailing blanks need no trimming first: the padding puts the same blanks back, and a longer number is cut anyway.
std::string PaddedLoanNbr(std::string_view loanNbr) { return PadRight(loanNbr, kLoanPartLength); }

KeyRange LoanKeyRange(std::string_view loanNbr) {
    std::string from = PaddedLoanNbr(loanNbr);
    std::string before = from + ':';
    return {std::move(from), std::move(before)};
}

std::string KeyRangeCondition() {
    const std::string key = Quoted(kKeyField);
    return key + " >= ?1 AND " + key + " < ?2";
}

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

}  // namespace kb
