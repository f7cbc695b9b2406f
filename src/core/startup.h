#pragma once
#include <string>

#include "core/kbmain.h"

namespace kb {

inline constexpr const char* kDefaultDealerNm = "HARROWDALE (800) 555-0142";
inline constexpr const char* kDefaultThankYou = "THANK YOU FOR YOUR PAYMENT";
inline constexpr const char* kConfigPath = "./KB.CFG";
inline constexpr const char* kHelpPath = "./KB_HLP.RTF";

// True when `path` names an ordinary file; a path that cannot be looked up is simply not there.
bool FileExists(const std::string& path);

// Reads KB.CFG into the shared values. Throws ConfigError when the file cannot be read; nothing changes then.
void LoadSettings(KBMain& kb, const std::string& path);

// Start-up in the working directory up to the opening of the loan list: the shared values, the missing database
// files created, KB.CFG read, the password asked when the switch is on. Reports its failures under "MAIN".
// Returns false when the program must end (a wrong password or Cancel), silently.
bool StartUp(KBMain& kb);

}  // namespace kb
