#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kb {

// The lenient numeric reading used wherever stored or typed text becomes a number: blanks are skipped, an optional
// sign, digits and at most one decimal point are read, reading stops at any other character (a comma too);
// no digit read gives 0. "1234.50" -> 1234.5, "1,234.50" -> 1, "" -> 0.
double NumVal(std::string_view text);

// Renders a number with a number mask ("###,##0.00", "#0.000", "0000", ...): rounded to the mask's decimals
// (halves away from zero, after reducing the value to 15 significant digits), never cut.
std::string FormatNumber(double value, std::string_view mask);

// FormatNumber right-justified in a text exactly as long as the mask; a longer result keeps its leftmost characters.
std::string Using(double value, std::string_view mask);

// The text left-justified in blanks to `width` characters, the padded field of a fixed-pitch column; a longer text
// keeps its first `width` characters.
std::string PadRight(std::string_view text, std::size_t width);

// The text without the blanks at its end.
std::string TrimRight(std::string_view text);

// The text with every comma removed.
std::string NoComma(std::string_view text);

// A stored value that may be empty (null) as text: empty for null.
inline std::string NullToStr(const std::optional<std::string>& value) { return value.value_or(std::string()); }

// Plain decimal digits of a whole number, as the program writes numbers without a mask.
std::string PlainNumber(long long value);

// The letter in capitals, for ASCII letters only, as the loans file compares loan numbers: unlike toupper it does
// not change with the desktop's language.
char AsciiUpper(char c);

}  // namespace kb
