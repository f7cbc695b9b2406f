#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/kbmain.h"

namespace kb {

inline constexpr const char* kDefaultDealerNm = "HARROWDALE (800) 555-0142";
inline constexpr const char* kDefaultThankYou = "THANK YOU FOR YOUR PAYMENT";
inline constexpr const char* kConfigPath = "./KB.CFG";
inline constexpr const char* kHelpPath = "./KB_HLP.RTF";

// True when `path` names an ordinary file; a path that cannot be looked up is simply not there.
bool FileExists(const std::string& path);

// The settings held in KB.CFG: one line of four comma-separated fields, texts in double quotes and the password
// switch as #TRUE# or #FALSE#, for example  "ACME MOTORS",#FALSE#,"THANK YOU FOR YOUR PAYMENT",""
struct Config {
    std::string DealerNm;
    bool PassWrd = false;
    std::string TYMsg1;
    std::string TYMsg2;
};

class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the text of KB.CFG. A file with only the first two fields leaves both thank-you lines empty.
// Throws ConfigError saying what is wrong with the text.
Config ParseConfig(std::string_view text);

// Reads the file; throws ConfigError when it cannot be read or parsed.
Config ReadConfigFile(const std::string& path);

// The settings line as it is written, CR LF included; the business name loses its trailing blanks.
// Throws ConfigError for a text the line cannot carry (a double quote, a line end) and for a line too long to be
// read back.
std::string FormatConfig(const Config& config);

// Writes the settings line to a new file beside `path` and renames it over the old one, so that the file is never
// half written. An old file marked read-only is not replaced. Throws ConfigError saying why it failed; the old file
// then stays as it was.
void WriteConfigFile(const std::string& path, const Config& config);

// Reads KB.CFG into the shared values. Throws ConfigError when the file cannot be read; nothing changes then.
void LoadSettings(KBMain& kb, const std::string& path);

}  // namespace kb
