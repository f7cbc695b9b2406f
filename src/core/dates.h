#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kb {

using Date = std::chrono::year_month_day;

// A date through a date mask: "mm", "dd", "yyyy", "yy" (also in capitals); every other character is copied.
// "mm/dd/yyyy", "yyyymmdd", "yyyy/mm/dd", "mm/dd/yy".
std::string FormatDate(Date date, std::string_view mask);

// The date mask applied to a date that may be missing: a missing date gives an empty text.
std::string FormatDate(const std::optional<Date>& date, std::string_view mask);

// Reads "m/d/yyyy", "m/d/yy" or "m/d": month/day[/year] in that order, separated by slashes, each part digits only
// (blanks around a part allowed). The parts are reported as written: no century rule is applied, a missing year
// gives year 0 and yearDigits 0, and whether month and day make a calendar date is left to the caller (MakeDate).
// Returns nullopt when the text does not have that form (an empty part, a part of more than nine digits).
struct MonthDayYear {
    unsigned month = 0;
    unsigned day = 0;
    int year = 0;
    int yearDigits = 0;  // how many digits the year was written with; 0 when no year was written
};
std::optional<MonthDayYear> ReadMonthDayYear(std::string_view text);

// A real calendar date from the parts, or nullopt (month 13, 02/30, 02/29 of a common year).
std::optional<Date> MakeDate(int year, unsigned month, unsigned day);

// "mm/dd/yyyy" text (as the program stores dates) to a date; nullopt when it is not one.
std::optional<Date> ParseStoredDate(std::string_view text);

// ISO "yyyy-mm-dd", the form of the true date columns in the files.
std::string ToIso(Date date);
std::optional<Date> FromIso(std::string_view text);

// Days from `from` to `to` (negative when `to` is earlier).
long DaysBetween(Date from, Date to);

Date AddDays(Date date, long days);
// Months, quarters and years keep the day, or take the month's last day when it has fewer days.
Date AddMonths(Date date, long months);
Date AddQuarters(Date date, long quarters);
Date AddYears(Date date, long years);

}  // namespace kb
