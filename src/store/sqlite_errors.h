#pragma once
#include <SQLiteCpp/Exception.h>

#include <string>
#include <string_view>

#include "store/refusals.h"
#include "store/store.h"

// Private to store/: SQLite failures told in words a lender understands.

namespace kb {

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
