#include "core/input_rules.h"

#include "core/config.h"
#include "core/error_trap.h"

namespace kb {

namespace {

bool IsControl(int code) { return code >= 0 && code < 32; }
bool IsDigit(int code) { return code >= '0' && code <= '9'; }
bool IsLetter(int code) { return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z'); }

bool Admits(std::string_view inputClass, int code) {
    const bool filtered = inputClass == "S" || inputClass == "M" || inputClass == "V" || inputClass == "N" ||
                          inputClass == "D" || inputClass == "K";
    if (!filtered) return true;
    if (code < 0 || code > 255) return false;
    if (inputClass == "S") return code != '"' && code != ',' && code < 123;
    if (inputClass == "M") return code != '"' && code < 123;
    if (inputClass == "V")
        return (IsControl(code) && code != 13) || IsDigit(code) || code == '.' || code == '-' || code == '+' ||
               code == '*';
    if (inputClass == "N") return IsControl(code) || IsDigit(code);
    if (inputClass == "D") return IsControl(code) || IsDigit(code) || code == '/';
    return IsControl(code) || IsDigit(code) || IsLetter(code) || code == '-';  // "K"
}

constexpr const char* kNoSlash = "INVALID DATE - DATE FORMAT IS (##/##/####)";
constexpr const char* kInvalidDate = "ERROR - INVALID DATE";

// The full year of a year written with two digits: within 79 years before and 20 years after the current year.
int WindowedYear(int twoDigits, int currentYear) {
    int year = currentYear / 100 * 100 + twoDigits;
    if (year > currentYear + 20) year -= 100;
    if (year < currentYear - 79) year += 100;
    return year;
}

std::optional<Date> ReadTypedDate(std::string_view text, Date today) {
    auto parts = ReadMonthDayYear(text);
    if (!parts) return std::nullopt;
    const int currentYear = static_cast<int>(today.year());
    int year = parts->year;
    if (parts->yearDigits == 0) {
        year = currentYear;
    } else if (parts->yearDigits == 4) {
        if (year < 100) year = WindowedYear(year, currentYear);
        else if (year < 1000) return std::nullopt;
    } else if (parts->yearDigits < 4) {
        year = WindowedYear(year % 100, currentYear);
    } else {
        return std::nullopt;
    }
    return MakeDate(year, parts->month, parts->day);
}

}  // namespace

bool ValidKey(std::string_view inputClass, int& keyAscii) {
    if (Admits(inputClass, keyAscii)) return true;
    keyAscii = 0;
    return false;
}

std::string CheckDate(std::string_view text, Dialogs& dialogs, Date today) {
    if (text.find('/') == std::string_view::npos) {
        dialogs.message(kNoSlash, kAppTitle, Buttons::OK, Icon::Critical);
        return "";
    }
    auto date = ReadTypedDate(text, today);
    if (!date) {
        dialogs.message(kInvalidDate, kAppTitle, Buttons::OK, Icon::None);
        return "";
    }
    return FormatDate(*date, "mm/dd/yyyy");
}

bool SpecialKeys(int keyCode, int shift, KBMain& kb) {
    const bool control = shift & kCtrlMask;
    std::function<void()>* show = nullptr;
    if (keyCode == kKeyF1) {
        kb.HelpTarget = kHelpPath;
        show = &kb.ShowHelp;
    } else if (keyCode == kKeyS && control && (shift & kShiftMask)) {
        kb.SetupMode = "R";
        show = &kb.ShowSetup;
    } else if (keyCode == kKeyEqualPlus && control && (shift & kAltMask)) {
        kb.SetupMode = "S";
        show = &kb.ShowSetup;
    } else {
        return false;
    }
    ErrorTrap trap(kb.dialogs, "SPECIAL KEYS");
    trap.run([&] {
        if (*show) (*show)();
    });
    return true;
}

}  // namespace kb
