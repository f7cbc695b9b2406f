#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "store/store.h"

namespace kb {

// The three tables, each as one field table from which the CREATE TABLE text, the statements and the
// descriptions of refused values are all made.

enum class FieldType {
    Text,        // TEXT, at most `size` characters
    Memo,        // long text; its declared size is the notes screen's limit, not the table's
    Date,        // a true date: NULL or ISO yyyy-mm-dd text
    AutoNumber,  // INTEGER, unique; handed out by NoteTable::beginNote
};

struct Field {
    std::string_view name;
    FieldType type;
    int size;                  // characters; 0 for the dates and the note number
    std::string_view caption;  // the field in a lender's words, for messages
};

struct TableDef {
    std::string_view name;
    std::string_view recordNoun;  // "loan", "payment", "note"
    std::span<const Field> fields;
};

// The key field is field 0 of every table.
inline constexpr std::string_view kKeyField = "LoanNbr";
// The name of the CHECK that refuses a key whose loan number part is empty or blank.
inline constexpr std::string_view kBlankKeyConstraint = "LoanNbr blank";
inline constexpr std::string_view kNoteIdField = "Note-ID";

inline constexpr std::array<Field, 17> kLoanFields{{
    {"LoanNbr", FieldType::Text, 8, "Loan number"},
    {"LastNm", FieldType::Text, 15, "Last name"},
    {"FirstMI", FieldType::Text, 15, "First name"},
    {"Street", FieldType::Text, 30, "Street"},
    {"City", FieldType::Text, 15, "City"},
    {"State", FieldType::Text, 2, "State"},
    {"Zip", FieldType::Text, 5, "Zip code"},
    {"Phone", FieldType::Text, 12, "Phone"},
    {"WrkPhone", FieldType::Text, 12, "Work phone"},
    {"Collateral", FieldType::Text, 40, "Collateral"},
    {"LoanDT", FieldType::Text, 10, "Loan date"},
    {"LoanAmt", FieldType::Text, 10, "Loan amount"},
    {"APR", FieldType::Text, 6, "APR"},
    {"PmtsPerYr", FieldType::Text, 2, "Payments per year"},
    {"NextPmtDT", FieldType::Date, 0, "Next payment date"},
    {"Payment", FieldType::Text, 10, "Payment"},
    {"Balance", FieldType::Text, 10, "Balance"},
}};

inline constexpr std::array<Field, 10> kPaymentFields{{
    {"LoanNbr", FieldType::Text, 16, "Payment key"},
    {"PmtDT", FieldType::Text, 10, "Payment date"},
    {"Amount", FieldType::Text, 10, "Amount"},
    {"LateFee", FieldType::Text, 10, "Late fee"},
    {"NbrPmts", FieldType::Text, 2, "Number of payments"},
    {"Principal", FieldType::Text, 10, "Principal"},
    {"Interest", FieldType::Text, 10, "Interest"},
    {"NextPmtDT", FieldType::Date, 0, "Next payment date"},
    {"Balance", FieldType::Text, 10, "Balance"},
    {"ChkNbr", FieldType::Text, 6, "Check number"},
}};

// The note key is 16 wide so that note numbers up to 99,999,999 fit behind the 8-character loan number.
inline constexpr std::array<Field, 5> kNoteFields{{
    {"LoanNbr", FieldType::Text, 16, "Note key"},
    {"NoteDT", FieldType::Text, 10, "Note date"},
    {"Subject", FieldType::Text, 20, "Subject"},
    {"Note", FieldType::Memo, 512, "Note"},
    {"Note-ID", FieldType::AutoNumber, 0, "Note number"},
}};

inline constexpr TableDef kLoanTable{"KBLoan", "loan", kLoanFields};
inline constexpr TableDef kPaymentTable{"KBPmts", "payment", kPaymentFields};
inline constexpr TableDef kNoteTable{"KBNotes", "note", kNoteFields};

const TableDef& TableOf(TableNumber table);

// nullptr when the table has no such field.
const Field* FindField(const TableDef& table, std::string_view name);

// An identifier in double quotes, as "Note-ID" needs.
std::string Quoted(std::string_view name);

// CREATE TABLE text for the table, with the key, the sizes and the date rule as constraints named after their
// fields, so that a refusal names the field.
std::string CreateTableSql(const TableDef& table);

// The quoted field names in table order, separated by commas.
std::string ColumnList(const TableDef& table);

// The loan number as the first 8 characters of a payment or note key: right-trimmed, left-justified in 8
// characters, cut at 8.
std::string PaddedLoanNbr(std::string_view loanNbr);

// A loan's payments and notes are the keys from the padded loan number up to, not including, the padded loan
// number followed by ':'. Their suffixes are digits, all below ':'; a longer or different loan number differs
// within the first 8 characters and falls outside.
struct KeyRange {
    std::string from;
    std::string before;
};
KeyRange LoanKeyRange(std::string_view loanNbr);
// The condition on the key for that range, with ?1 and ?2 bound to `from` and `before`.
std::string KeyRangeCondition();

}  // namespace kb
