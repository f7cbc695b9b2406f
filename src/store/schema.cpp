#include "store/schema.h"

#include <cstddef>

namespace kb {

namespace {

constexpr std::size_t kLoanPartLength = 8;
// With the GLOB, date(x, '+0 days') = x refuses dates that do not exist: a modifier makes date() normalise,
// 2001-02-30 becomes 2001-03-02 (without one, date() passes day 30 of February through unchanged).
constexpr std::string_view kIsoDatePattern = "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

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

std::string PaddedLoanNbr(std::string_view loanNbr) {
    while (!loanNbr.empty() && loanNbr.back() == ' ') loanNbr.remove_suffix(1);
    // Count characters, not bytes: the field sizes are in characters.
    std::string padded;
    std::size_t characters = 0;
    for (char c : loanNbr) {
        if (!IsContinuationByte(c)) {
            if (characters == kLoanPartLength) break;
            ++characters;
        }
        padded += c;
    }
    padded.append(kLoanPartLength - characters, ' ');
    return padded;
}

KeyRange LoanKeyRange(std::string_view loanNbr) {
    std::string from = PaddedLoanNbr(loanNbr);
    std::string before = from + ':';
    return {std::move(from), std::move(before)};
}

std::string KeyRangeCondition() {
    const std::string key = Quoted(kKeyField);
    return key + " >= ?1 AND " + key + " < ?2";
}

}  // namespace kb
