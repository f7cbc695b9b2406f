#pragma once
#include <functional>
#include <string>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/printing.h"
#include "core/progress.h"

namespace kb {

class Book;

// The values the windows share, and the seams to the world outside the program.
// `Main` makes one; every window gets it by reference.
struct KBMain {
    KBMain(Dialogs& dialogs, Printing& printing, Clock& clock)
        : dialogs(dialogs), printing(printing), clock(clock) {}

    Dialogs& dialogs;
    Printing& printing;
    Clock& clock;
    // The lender's book, which every window reads and changes through. Set by main (the SQLite files of the working
    // directory) or by a test.
    Book* book = nullptr;

    std::string LoanDB;
    std::string PmtsDB;
    std::string NotesDB;
    std::string PrgVer;
    std::string DealerNm;
    bool PassWrd = false;
    std::string TYMsg1;
    std::string TYMsg2;
    std::string LoanMode;
    std::string CurLoanNbr;
    bool ListDirty = false;
    std::string HelpTarget;
    std::string SetupMode;

    // Open the help viewer on HelpTarget and the setup screen on SetupMode, modally. Filled in by Main.
    std::function<void()> ShowHelp;
    std::function<void()> ShowSetup;
    // A progress dialog for a long step, titled `title`, shown only once the step takes a moment; it lives as long as
    // the Progress it returns. Filled in by Main; empty (no dialog) in tests.
    std::function<Progress(const std::string& title)> ShowProgress;
    // The progress of a long step as ShowProgress shows it; none without it.
    Progress progressOf(const std::string& title) const { return ShowProgress ? ShowProgress(title) : Progress(); }
};

}  // namespace kb
