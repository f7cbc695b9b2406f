#include "app/startup.h"

#include <algorithm>
#include <filesystem>

#include "core/config.h"
#include "core/error_trap.h"
#include "core/format.h"
#include "store/backups.h"
#include "store/store.h"

namespace kb {

namespace {

constexpr const char* kMainLabel = "MAIN";
constexpr const char* kCantCreate = "CAN'T CREATE ";
constexpr const char* kPasswordPrompt = "ENTER PASSWORD";
constexpr const char* kPassword = "BLU4RX";

// Creates each missing database file; an existing file that is not ours is reported and left untouched. True when
// the three files are there and ours.
bool PrepareDatabaseFiles(KBMain& kb) {
    bool ready = true;
    const std::pair<const std::string*, TableNumber> files[] = {
        {&kb.LoanDB, TableNumber::Loans}, {&kb.PmtsDB, TableNumber::Payments}, {&kb.NotesDB, TableNumber::Notes}};
    for (const auto& [path, table] : files) {
        if (FileExists(*path)) {
            ErrorTrap trap(kb.dialogs, kMainLabel);
            ready = trap.run([&] { CheckTableFile(*path, table); }) && ready;
            continue;
        }
        MakeDBFile(*path, static_cast<int>(table), kb.dialogs);
        if (FileExists(*path)) continue;
        kb.dialogs.message(kCantCreate + *path, kAppTitle, Buttons::OK, Icon::None);
        ready = false;
    }
    return ready;
}

void ReadSettings(KBMain& kb, ErrorTrap& trap) {
    kb.DealerNm = kDefaultDealerNm;
    kb.PassWrd = false;
    kb.TYMsg1 = kDefaultThankYou;
    kb.TYMsg2.clear();
    if (!FileExists(kConfigPath)) return;
    try {
        LoadSettings(kb, kConfigPath);
    } catch (const ConfigError& error) {
        trap.record(std::string("KB.CFG cannot be read: ") + error.what() +
                    ". The standard settings are used and the file is left as it is.");
    }
}

bool PasswordAccepted(KBMain& kb) {
    auto answer = kb.dialogs.prompt(kPasswordPrompt, kAppTitle, "", true);
    if (!answer) return false;
    std::string upper = *answer;
    std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    return upper == kPassword;
}

}  // namespace

bool StartUp(KBMain& kb) {
    kb.LoanDB = kLoanPath;
    kb.PmtsDB = "./KB_Pmts.mdb";
    kb.NotesDB = "./KB_Notes.mdb";
    kb.PrgVer = "VER8.03";
    const bool bookReady = PrepareDatabaseFiles(kb);

    ErrorTrap trap(kb.dialogs, kMainLabel);
    ReadSettings(kb, trap);
    if (kb.PassWrd && !PasswordAccepted(kb)) return false;
    trap.report();
    // A book that could not be opened whole is not copied over the day's good copy.
    if (bookReady) DailyBackup(kb);
    return true;
}

}  // namespace kb
