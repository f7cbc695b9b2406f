#pragma once
#include "core/kbmain.h"

namespace kb {

// The loan list's File menu commands that keep the book safe: backups, restore and export. Each asks what it
// needs, shows a progress dialog while it works and says how it went.

// Copies the book into today's folder of the backup folder, replacing an earlier copy of the day.
void BackUpNow(KBMain& kb);
// Copies the book into a new folder inside a folder the lender chooses.
void BackUpTo(KBMain& kb);
// Puts a copy the lender chooses in place of the book, after saying what it holds, asking, and backing up the
// book as it is. True when the copy is now the book: the list and the caption are to be filled again.
bool RestoreFromBackup(KBMain& kb);
// Writes the book as CSV files into a folder the lender chooses.
void ExportToFolder(KBMain& kb);

}  // namespace kb
