#pragma once
#include <string>
#include <string_view>

#include "store/schema.h"

// The store's refusals in words a lender understands, whichever engine keeps the tables.

namespace kb {

// What a statement works on: the table, its file (or, on a server, the database), and the key of the record it
// writes.
struct Target {
    const TableDef* table;
    std::string file;
    std::string key;
};

// The file name without its folder, as messages name a file.
std::string FileName(const std::string& path);

// "not on file" for the record with the target's key.
std::string NotOnFile(const Target& target);
std::string NoSuchField(const Target& target, std::string_view field);
// A second record with the target's key.
std::string AlreadyOnFile(const Target& target);
// A second note with the note number of the target's key.
std::string NoteNumberTaken(const Target& target);
std::string EmptyKey(const TableDef& table);
// A value refused by the rule named `constraint` (a field's name, or the blank key rule); `message` is the engine's
// own text, shown when the rule is none of those.
std::string DescribeRefusedValue(const Target& target, std::string_view constraint, std::string_view message);

}  // namespace kb
