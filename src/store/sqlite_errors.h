#pragma once
#include <SQLiteCpp/Exception.h>

#include <string>
#include <string_view>

#include "store/schema.h"
#include "store/store.h"

// Private to store/: SQLite failures told in words a lender understands.

namespace kb {

// What a statement works on: the table, its file, and the key of the record it writes.
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

// An SQLite failure in words a lender understands, naming the file, the field or the key.
std::string Describe(const SQLite::Exception& error, const Target& target);

// Runs `action`, turning any SQLite failure into a StoreError about `target`.
template <class Action>
auto Guarded(const Target& target, Action&& action) -> decltype(action()) {
    try {
        return action();
    } catch (const SQLite::Exception& error) {
        throw StoreError(Describe(error, target));
    }
}

// Runs `action`, which returns how many records it changed, as Guarded; none changed means the target's record is
// not on file, and is refused as such.
template <class Action>
void GuardedChange(const Target& target, Action&& action) {
    if (Guarded(target, action) == 0) throw StoreError(NotOnFile(target));
}

}  // namespace kb
