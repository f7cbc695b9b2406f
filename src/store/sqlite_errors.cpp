#include "store/sqlite_errors.h"

#include <sqlite3.h>

namespace kb {

namespace {

// The text after the last occurrence of `marker` in the message, or empty.
std::string After(std::string_view message, std::string_view marker) {
    const std::size_t at = message.rfind(marker);
    return at == std::string_view::npos ? std::string() : std::string(message.substr(at + marker.size()));
}

// A refused constraint: a key already on file, an empty key, a value the field does not take; empty for others.
std::string DescribeConstraint(int extended, std::string_view message, const Target& target) {
    if (extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE) {
        return After(message, ".") == kNoteIdField ? NoteNumberTaken(target) : AlreadyOnFile(target);
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
