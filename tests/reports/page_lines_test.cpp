#include "reports/page_lines.h"

#include <gtest/gtest.h>

#include "reports/print_flow.h"

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

TEST(PageChoiceTest, LaterPagesOfAFileGoBesideIt) {
    const struct {
        std::string chosen;
        int page;
        std::string file;
    } cases[] = {
        {"/tmp/hist.pdf", 1, "/tmp/hist.pdf"},     {"/tmp/hist.pdf", 2, "/tmp/hist-2.pdf"},
        {"/tmp/hist.PDF", 12, "/tmp/hist-12.pdf"}, {"/tmp/my.hist", 3, "/tmp/my.hist-3.pdf"},
        {"", 2, ""},
    };
    for (const auto& c : cases) {
        const PrinterChoice page = PageChoice(PrinterChoice{"Office", c.chosen, false}, c.page);
        EXPECT_EQ(page.outputFile, c.file) << c.chosen << " page " << c.page;
        EXPECT_EQ(page.printerName, "Office");
    }
}

}  // namespace
}  // namespace kb
