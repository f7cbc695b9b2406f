#include "store/sqlite_errors.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/format.h"

namespace kb {

namespace {

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

std::string EmptyKey(const TableDef& table) {
    if (&table == &kLoanTable) return "The loan number is empty";
    return "The " + std::string(table.recordNoun) + " has no loan number";
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

// A refused constraint: a key already on file, an empty key, a value the field does not take; empty for others.
std::string DescribeConstraint(int extended, std::string_view message, const Target& target) {
    if (extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE) {
        if (After(message, ".") == kNoteIdField) {
            return "Note number " + NoteNumberOfKey(SplitKey(target.key).second) + " is already on file";
        }
        return AlreadyOnFile(target);
    }
    if (extended == SQLITE_CONSTRAINT_NOTNULL && After(message, ".") == kKeyField) return EmptyKey(*target.table);
    if (extended == SQLITE_CONSTRAINT_CHECK) {
        return DescribeRefusedValue(target, After(message, "CHECK constraint failed: "), message);
    }
    return "";
}

// A statement the file's table cannot take: the table or a field is missing; empty for others.
std::string DescribeMissingPart(std::string_view message, const Target& target) {
    if (message.starts_with("no such table")) return target.file + " has no table " + std::string(target.table->name);
    if (message.starts_with("no such column: ")) return NoSuchField(target, After(message, ": "));
    if (message.find("has no column named ") != std::string_view::npos) {
        return NoSuchField(target, After(message, "has no column named "));
    }
    return "";
}

// What is wrong with the file itself, by the primary result code; empty for others.
std::string DescribeFileFailure(int primary, const Target& target) {
    switch (primary) {
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
        default:
            return "";
    }
}

}  // namespace

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

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

std::string NoSuchField(const Target& target, std::string_view field) {
    return target.file + ": table " + std::string(target.table->name) + " has no field " + std::string(field);
}

std::string Describe(const SQLite::Exception& error, const Target& target) {
    const std::string_view message = error.what();
    const int extended = error.getExtendedErrorCode() >= 0 ? error.getExtendedErrorCode() : error.getErrorCode();
    std::string description;
    switch (extended & 0xFF) {
        case SQLITE_CONSTRAINT:
            description = DescribeConstraint(extended, message, target);
            break;
        case SQLITE_ERROR:
            description = DescribeMissingPart(message, target);
            break;
        default:
            description = DescribeFileFailure(extended & 0xFF, target);
            break;
    }
    return description.empty() ? target.file + ": " + std::string(message) : description;
}

}  // namespace kb
