#pragma once
#include <functional>

#include "core/kbmain.h"

class QMenu;

namespace kb {

// The loan list's File menu entries that move the book between the SQLite files of the book folder and the
// server its KB_SERVER.CFG names: each copies into an empty book and shows the figures of both. `copied` runs
// after a copy (the list refills).
void AddBookCopyActions(QMenu* file, KBMain& kb, const std::function<void()>& copied);

}  // namespace kb
