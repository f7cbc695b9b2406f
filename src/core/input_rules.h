#pragma once
#include <string>
#include <string_view>

#include "core/dates.h"
#include "core/dialogs.h"
#include "core/kbmain.h"

namespace kb {

// Judges a typed character (its code page 1252 code) by the field's input class: "S" text, "M" long text,
// "V" amount or rate, "N" whole count, "D" date, "K" loan number; any other class admits everything.
// A rejected character's code is set to 0 and the answer is false.
bool ValidKey(std::string_view inputClass, int& keyAscii);

// Checks a typed date and rewrites it as "mm/dd/yyyy"; an invalid date is reported and gives "".
// A date without a year takes the current year; a two-digit year falls in the hundred years from 79 years
// before the current year to 20 years after it.
std::string CheckDate(std::string_view text, Dialogs& dialogs, Date today);

// Key codes and shift states as the fields report them.
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyS = 83;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF10 = 121;
inline constexpr int kKeyEqualPlus = 187;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// The keys that work in every filtered field and in the loan list: F1 opens the whole help text,
// Control+Shift+S the business-name panel of the setup screen, Control+Alt+= its options panel. True when the key
// was one of them: the caller consumes it whole, whatever text it carries (Control+Alt is AltGr, which types "=").
bool SpecialKeys(int keyCode, int shift, KBMain& kb);

}  // namespace kb
