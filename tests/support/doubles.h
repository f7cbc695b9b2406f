#pragma once
#include "core/kbmain.h"
#include "loanbook/sqlite_book.h"
#include "support/fixed_clock.h"
#include "support/recording_printing.h"
#include "support/scripted_dialogs.h"

namespace kb::test {

// The shared values of a test, wired to the doubles of the three seams. Test fixtures derive from it.
struct Doubles {
    ScriptedDialogs dialogs;
    RecordingPrinting printing;
    FixedClock clock;
    KBMain kb{dialogs, printing, clock};
    // The book in the SQLite files whose paths the test sets (StartUp sets those of the working directory).
    SqliteBook book{kb};
    Doubles() { kb.book = &book; }
};

}  // namespace kb::test
