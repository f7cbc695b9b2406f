#include "core/format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kb {
namespace {

TEST(FormatNumberTest, MasksRenderAndUsingJustifiesAndCuts) {
    // The value, the mask, the number formatted and the number printed in the mask's width.
    const std::tuple<double, const char*, const char*, const char*> cases[] = {
        {0, "###,##0.00", "0.00", "      0.00"},          {0, "###,###.00", ".00", "       .00"},
        {0.5, "###,###.00", ".50", "       .50"},         {-5, "#####0.00", "-5.00", "    -5.00"},
        {1234.5, "###,##0.00", "1,234.50", "  1,234.50"}, {-1234.5, "###,##0.00", "-1,234.50", " -1,234.50"},
        {999.999, "###,##0.00", "1,000.00", "  1,000.00"}, {1234567.89, "###,##0.00", "1,234,567.89", "1,234,567."},
        {12345678.9, "###,##0.00", "12,345,678.90", "12,345,678"},
        {1234567.891, "######0.00", "1234567.89", "1234567.89"},
        {0.125, "#0.00", "0.13", " 0.13"},                {-0.125, "#0.00", "-0.13", "-0.13"},
        {1.005, "#0.00", "1.01", " 1.01"},                {-0.004, "#####0.00", "0.00", "     0.00"},
        {9.9996, "#0.000", "10.000", "10.000"},           {2.5, "#0", "3", " 3"},
        {123, "#0", "123", "12"},                         {42, "0000", "0042", "0042"},
        {10000, "0000", "10000", "1000"},                 {7, "00", "07", "07"},
    };
    for (const auto& [value, mask, formatted, used] : cases) {
        EXPECT_EQ(FormatNumber(value, mask), formatted) << value << " with " << mask;
        EXPECT_EQ(Using(value, mask), used) << value << " with " << mask;
    }
    EXPECT_THROW(Using(NAN, "#0.00"), std::overflow_error);
}

TEST(NumValTest, ReadsLeniently) {
    const std::pair<const char*, double> cases[] = {
        {"1234.50", 1234.5}, {"1,234.50", 1}, {"", 0},     {" -12.5x", -12.5}, {"+3", 3},  {"1.2.3", 1.2},
        {".5", 0.5},         {"-", 0},        {"abc", 0},  {"--5", 0},         {"5-3", 5}, {"1e3", 1},
        {"1 234", 1234},     {"   12.50", 12.5}, {"0.30000000000000004", 0.30000000000000004},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(NumVal(text), value) << '"' << text << '"';
    EXPECT_FALSE(std::signbit(NumVal("-0.00")));
    EXPECT_THROW(NumVal(std::string(400, '9')), std::overflow_error);
    EXPECT_EQ(NumVal("-." + std::string(400, '0') + "1"), 0);
}

TEST(FormatHelpersTest, PadRightNoCommaPlainNumber) {
    EXPECT_EQ(PadRight("A1", 4), "A1  ");
    EXPECT_EQ(PadRight("ABCDEF", 4), "ABCD");
    EXPECT_EQ(NoComma("1,234,567.89"), "1234567.89");
    EXPECT_EQ(PlainNumber(-2024), "-2024");
}

}  // namespace
}  // namespace kb
