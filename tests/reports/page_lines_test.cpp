#include "reports/page_lines.h"

#include <gtest/gtest.h>

namespace kb {
namespace {

TEST(PrintLineTest, ItemsFollowTheColumnRule) {
    const struct {
        PrintLine line;
        std::vector<std::string> printed;
    } cases[] = {
        {PrintLine(), {""}},
        {PrintLine().at(1, "AB").add("").add("CD"), {"ABCD"}},
        {PrintLine().at(4, "X"), {"   X"}},
        {PrintLine().add("ABC").at(4, "D"), {"ABCD"}},
        {PrintLine().add("ABCD").at(4, "E"), {"ABCD", "   E"}},  // column reached: a new line
        {PrintLine().add("ABCDEFG").at(3, "H").add("I"), {"ABCDEFG", "  HI"}},
        {PrintLine().at(2, ""), {" "}},
        {PrintLine().add("\xC3\xA9t\xC3\xA9").at(5, "X"), {"\xC3\xA9t\xC3\xA9 X"}},  // characters, not bytes
    };
    for (const auto& c : cases) EXPECT_EQ(c.line.lines(), c.printed) << c.printed[0];
    EXPECT_EQ(CharSlice("\xC3\xA9t\xC3\xA9s", 1, 2), "t\xC3\xA9");
}

}  // namespace
}  // namespace kb
