#include "core/dates.h"

#include <algorithm>
#include <cstdio>

namespace kb {

namespace {

using namespace std::chrono;

std::string TwoDigits(unsigned value) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "%02u", value % 100);
    return buffer;
}

bool MatchesToken(std::string_view mask, size_t at, std::string_view token) {
    if (mask.size() - at < token.size()) return false;
    for (size_t i = 0; i < token.size(); ++i)
        if ((mask[at + i] | 0x20) != token[i]) return false;
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number of exactly `length` digits at `at`, or -1.
int FixedDigits(std::string_view text, size_t at, size_t length) {
    int value = 0;
    for (size_t i = at; i < at + length; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::string FormatDate(Date date, std::string_view mask) {
    const int year = static_cast<int>(date.year());
    std::string out;
    for (size_t i = 0; i < mask.size();) {
        if (MatchesToken(mask, i, "yyyy")) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%04d", year);
            out += buffer;
            i += 4;
        } else if (MatchesToken(mask, i, "yy")) {
            out += TwoDigits(static_cast<unsigned>(year < 0 ? -year : year));
            i += 2;
        } else if (MatchesToken(mask, i, "mm")) {
            out += TwoDigits(static_cast<unsigned>(date.month()));
            i += 2;
        } else if (MatchesToken(mask, i, "dd")) {
            out += TwoDigits(static_cast<unsigned>(date.day()));
            i += 2;
        } else {
            out += mask[i++];
        }
    }
    return out;
}

std::string FormatDate(const std::optional<Date>& date, std::string_view mask) {
    return date ? FormatDate(*date, mask) : std::string();
}

std::optional<MonthDayYear> ReadMonthDayYear(std::string_view text) {
    long parts[3] = {0, 0, 0};
    int digitCounts[3] = {0, 0, 0};
    int count = 0;
    size_t start = 0;
    while (true) {
        if (count == 3) return std::nullopt;
        const size_t slash = std::min(text.find('/', start), text.size());
        std::string_view part = text.substr(start, slash - start);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        if (part.empty() || part.size() > 9) return std::nullopt;
        for (char c : part) {
            if (!IsDigit(c)) return std::nullopt;
            parts[count] = parts[count] * 10 + (c - '0');
        }
        digitCounts[count] = static_cast<int>(part.size());
        ++count;
        if (slash == text.size()) break;
        start = slash + 1;
    }
    if (count < 2) return std::nullopt;
    MonthDayYear result;
    result.month = static_cast<unsigned>(parts[0]);
    result.day = static_cast<unsigned>(parts[1]);
    result.year = static_cast<int>(parts[2]);
    result.yearDigits = digitCounts[2];
    return result;
}

std::optional<Date> MakeDate(int year, unsigned month, unsigned day) {
    if (year < static_cast<int>(std::chrono::year::min()) || year > static_cast<int>(std::chrono::year::max()) ||
        month > 12 || day > 31)
        return std::nullopt;
    const Date date{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::optional<Date> ParseStoredDate(std::string_view text) {
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
    const int month = FixedDigits(text, 0, 2), day = FixedDigits(text, 3, 2), year = FixedDigits(text, 6, 4);
    if (month < 0 || day < 0 || year < 0) return std::nullopt;
    return MakeDate(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

std::string ToIso(Date date) { return FormatDate(date, "yyyy-mm-dd"); }

std::optional<Date> FromIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const int year = FixedDigits(text, 0, 4), month = FixedDigits(text, 5, 2), day = FixedDigits(text, 8, 2);
    if (month < 0 || day < 0 || year < 0) return std::nullopt;
    return MakeDate(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

long DaysBetween(Date from, Date to) { return static_cast<long>((sys_days(to) - sys_days(from)).count()); }

Date AddDays(Date date, long days) { return Date(sys_days(date) + std::chrono::days(days)); }

Date AddMonths(Date date, long months) {
    const year_month target = year_month(date.year(), date.month()) + std::chrono::months(months);
    const std::chrono::day last = year_month_day_last(target.year(), month_day_last(target.month())).day();
    return Date(target.year(), target.month(), std::min(date.day(), last));
}

Date AddQuarters(Date date, long quarters) { return AddMonths(date, quarters * 3); }

Date AddYears(Date date, long years) { return AddMonths(date, years * 12); }

}  // namespace kb
