#include "core/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kb {

double NumVal(std::string_view text) {
    // The characters read are gathered into a clean text so that from_chars does the (correctly rounded)
    // conversion, always with a decimal point: the desktop's language must never change a figure.
    std::string clean;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if ((c == '-' || c == '+') && !signSeen && clean.empty()) {
            signSeen = true;
            if (c == '-') clean += c;
        } else if (c >= '0' && c <= '9') {
            digitSeen = true;
            clean += c;
        } else if (c == '.' && !pointSeen) {
            pointSeen = true;
            clean += c;
        } else {
            break;
        }
    }
    if (!digitSeen) return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large for a double is an overflow; too small (a point followed by hundreds of zeros) reads as 0.
        const std::string_view integerPart = std::string_view(clean).substr(0, clean.find('.'));
        if (integerPart.find_first_not_of("-0") != std::string_view::npos) throw std::overflow_error("Overflow");
        return 0.0;
    }
    return value == 0.0 ? 0.0 : value;  // no negative zero from "-0"
}

namespace {

struct NumberMask {
    int decimals = 0;        // digit positions after the point
    int forcedDecimals = 0;  // up to the last '0' after the point; later decimals show only when not zero
    int minIntDigits = 0;    // positions from the leftmost '0' before the point to the point
    bool grouping = false;   // a comma between digit positions before the point
    bool point = false;
};

NumberMask ReadMask(std::string_view mask) {
    NumberMask m;
    int intPositions = 0;
    int firstZero = -1;  // index among the integer positions
    bool commaPending = false;
    for (char c : mask) {
        if (c == '.') {
            if (m.point) throw std::invalid_argument("Invalid number mask");
            m.point = true;
        } else if (c == '#' || c == '0') {
            if (m.point) {
                ++m.decimals;
                if (c == '0') m.forcedDecimals = m.decimals;
            } else {
                if (commaPending) m.grouping = true;
                if (c == '0' && firstZero < 0) firstZero = intPositions;
                ++intPositions;
            }
        } else if (c == ',') {
            if (!m.point && intPositions > 0) commaPending = true;
        } else {
            throw std::invalid_argument("Invalid number mask");
        }
    }
    if (firstZero >= 0) m.minIntDigits = intPositions - firstZero;
    return m;
}

// |value| reduced to 15 significant digits and rounded to `decimals` places, halves away from zero, as a digit
// string holding the integer digits followed by exactly `decimals` fraction digits (integer part without leading
// zeros, possibly empty).
std::string RoundedDigits(double magnitude, int decimals) {
    char buffer[40];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14).ptr;
    std::string digits;  // from d.dddddddddddddde[+-]xx
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    if (*++p == '+') ++p;
    int exponent = 0;
    std::from_chars(p, end, exponent);
    // digits[0] stands for 10^exponent; keep the digits down to 10^-decimals.
    const long keep = static_cast<long>(exponent) + 1 + decimals;
    if (keep < 0) return std::string(static_cast<size_t>(decimals), '0');
    bool roundUp = false;
    if (keep < static_cast<long>(digits.size())) {
        roundUp = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
    } else {
        digits.append(static_cast<size_t>(keep) - digits.size(), '0');
    }
    if (roundUp) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    if (digits.size() < static_cast<size_t>(decimals)) digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
    const size_t firstNonZero = digits.find_first_not_of('0');
    const size_t intLength = digits.size() - static_cast<size_t>(decimals);
    return digits.substr(std::min(firstNonZero, intLength));
}

}  // namespace

std::string FormatNumber(double value, std::string_view mask) {
    if (!std::isfinite(value)) throw std::overflow_error("Overflow");
    const NumberMask m = ReadMask(mask);
    const std::string digits = RoundedDigits(std::fabs(value), m.decimals);
    const size_t intLength = digits.size() - static_cast<size_t>(m.decimals);
    std::string intDigits = digits.substr(0, intLength);
    std::string fraction = digits.substr(intLength);

    if (intDigits.size() < static_cast<size_t>(m.minIntDigits))
        intDigits.insert(0, static_cast<size_t>(m.minIntDigits) - intDigits.size(), '0');
    while (fraction.size() > static_cast<size_t>(m.forcedDecimals) && fraction.back() == '0') fraction.pop_back();

    std::string out;
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !isZero) out += '-';
    for (size_t i = 0; i < intDigits.size(); ++i) {
        if (m.grouping && i > 0 && (intDigits.size() - i) % 3 == 0) out += ',';
        out += intDigits[i];
    }
    if (m.point) out += '.';
    out += fraction;
    return out;
}

std::string Using(double value, std::string_view mask) {
    const std::string rendered = FormatNumber(value, mask);
    if (rendered.size() >= mask.size()) return rendered.substr(0, mask.size());
    return std::string(mask.size() - rendered.size(), ' ') + rendered;
}

std::string PadRight(std::string_view text, std::size_t width) {
    // Counted in characters, not bytes, so a name written by another tool in UTF-8 is never cut inside a letter.
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == width) break;
        out += text[i];
    }
    if (characters < width) out.append(width - characters, ' ');
    return out;
}

std::string TrimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

std::string NoComma(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ',') out += c;
    return out;
}

std::string PlainNumber(long long value) { return std::to_string(value); }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace kb
