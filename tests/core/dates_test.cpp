#include "core/dates.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kb {
namespace {

using namespace std::chrono;

Date D(int y, unsigned m, unsigned d) { return year{y} / month{m} / day{d}; }

TEST(DateFormatTest, Masks) {
    EXPECT_EQ(FormatDate(D(2005, 1, 9), "mm/dd/yyyy"), "01/09/2005");
    EXPECT_EQ(FormatDate(D(2005, 1, 9), "YYYYMMDD"), "20050109");
    EXPECT_EQ(FormatDate(D(1999, 12, 31), "mm/dd/yy"), "12/31/99");
    EXPECT_EQ(FormatDate(std::optional<Date>(), "mm/dd/yyyy"), "");
}

TEST(DateReadTest, MonthDayYearAsWritten) {
    // Month, day, year and the year's digits.
    const std::pair<const char*, std::tuple<unsigned, unsigned, int, int>> accepted[] = {
        {"3/5/2001", {3, 5, 2001, 4}}, {"03/05/01", {3, 5, 1, 2}}, {"3/5", {3, 5, 0, 0}},
        {" 12 / 31 / 99 ", {12, 31, 99, 2}}, {"13/45/201", {13, 45, 201, 3}}};
    for (const auto& [text, expected] : accepted) {
        const auto read = ReadMonthDayYear(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(std::tuple(read->month, read->day, read->year, read->yearDigits), expected) << text;
    }
    for (const char* text : {"", "03052001", "3/", "3//2001", "3/5/", "1/2/3/4", "a/5/2001", "3-5-2001", "-3/5/2001",
                             "3/5/20 01", "1234567890/1/2001"})
        EXPECT_FALSE(ReadMonthDayYear(text)) << '"' << text << '"';
}

TEST(DateReadTest, CalendarAndStrictForms) {
    EXPECT_EQ(MakeDate(2024, 2, 29), D(2024, 2, 29));
    const std::tuple<int, unsigned, unsigned> invalid[] = {{2023, 2, 29}, {1900, 2, 29}, {2001, 13, 1}, {2001, 4, 31}};
    for (auto [y, m, d] : invalid) EXPECT_FALSE(MakeDate(y, m, d)) << y << "-" << m << "-" << d;
    EXPECT_EQ(ParseStoredDate("02/29/2000"), D(2000, 2, 29));
    for (const char* text : {"2/29/2000", "02/30/2000", "02-28-2000", "02/28/00", "02/28/2000 "})
        EXPECT_FALSE(ParseStoredDate(text)) << '"' << text << '"';
    EXPECT_EQ(ToIso(D(2026, 1, 5)), "2026-01-05");
    EXPECT_EQ(FromIso(ToIso(D(2024, 2, 29))), D(2024, 2, 29));
    for (const char* text : {"2023-02-29", "2024-2-29", "2024/02/29", "2024-02-29T00", ""})
        EXPECT_FALSE(FromIso(text)) << '"' << text << '"';
}

TEST(DateArithmeticTest, DaysMonthsQuartersYears) {
    EXPECT_EQ(DaysBetween(D(2024, 2, 28), D(2024, 3, 1)), 2);
    EXPECT_EQ(DaysBetween(D(2024, 3, 1), D(2023, 3, 1)), -366);
    EXPECT_EQ(DaysBetween(D(1999, 12, 31), D(2001, 1, 1)), 367);
    EXPECT_EQ(AddDays(D(2024, 1, 1), -1), D(2023, 12, 31));
    const std::tuple<Date (*)(Date, long), Date, long, Date> cases[] = {
        {AddMonths, D(2024, 1, 31), 1, D(2024, 2, 29)},   {AddMonths, D(2023, 1, 31), 1, D(2023, 2, 28)},
        {AddMonths, D(2024, 1, 31), 2, D(2024, 3, 31)},   {AddMonths, D(2024, 3, 31), -1, D(2024, 2, 29)},
        {AddMonths, D(2024, 12, 31), 1, D(2025, 1, 31)},  {AddMonths, D(2024, 5, 31), -25, D(2022, 4, 30)},
        {AddQuarters, D(2023, 11, 30), 1, D(2024, 2, 29)}, {AddQuarters, D(2024, 5, 31), -1, D(2024, 2, 29)},
        {AddYears, D(2024, 2, 29), 1, D(2025, 2, 28)},    {AddYears, D(2024, 2, 29), 4, D(2028, 2, 29)},
    };
    for (const auto& [add, from, count, to] : cases) EXPECT_EQ(add(from, count), to) << ToIso(from) << " + " << count;
}

}  // namespace
}  // namespace kb
