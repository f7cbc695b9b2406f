#pragma once
#include <span>

#include "core/kbmain.h"

class QMenuBar;

namespace kb {

// An entry of a window's Help menu.
struct HelpEntry {
    const char* objectName;
    const char* caption;
    const char* target;           // the section code ("/S03E03"); none for About
    const char* label = nullptr;  // the title a failure to show it is reported under; none: not trapped
};

// Adds the Help menu: each entry sets HelpTarget to its section of the help file (or About) and opens the help
// viewer.
void AddHelpMenu(QMenuBar* bar, std::span<const HelpEntry> entries, KBMain& kb);

}  // namespace kb
