#pragma once
#include <memory>
#include <string>

#include "core/kbmain.h"
#include "loanbook/book.h"

namespace kb {

// The book of `folder`: on the server its KB_SERVER.CFG names, or else in the SQLite files whose paths `kb` holds.
// Throws StoreError, in words for the lender, when the settings file cannot be used or the server not reached.
std::unique_ptr<Book> OpenBook(const KBMain& kb, const std::string& folder);

}  // namespace kb
