#include "core/input_rules.h"

#include <gtest/gtest.h>

#include "support/fixed_clock.h"
#include "support/recording_printing.h"
#include "support/scripted_dialogs.h"

namespace kb {
namespace {

using namespace std::chrono;
using Message = test::ScriptedDialogs::Message;

// Every code from 0 to 255 that a class admits, written as ranges; a character outside the eight-bit set passes
// only the unfiltered fields.
TEST(ValidKeyTest, EachClassAdmitsExactlyItsCodes) {
    const std::pair<const char*, std::vector<std::pair<int, int>>> classes[] = {
        {"S", {{0, 33}, {35, 43}, {45, 122}}}, {"M", {{0, 33}, {35, 122}}},
        {"V", {{0, 12}, {14, 31}, {42, 43}, {45, 46}, {48, 57}}}, {"N", {{0, 31}, {48, 57}}},
        {"D", {{0, 31}, {47, 57}}}, {"K", {{0, 31}, {45, 45}, {48, 57}, {65, 90}, {97, 122}}},
        {"", {{0, 255}}}, {"X", {{0, 255}}},
    };
    for (const auto& [inputClass, admitted] : classes) {
        for (int n = 0; n <= 256; ++n) {
            const int code = n == 256 ? 0x20AC : n;
            bool expected = code == 0x20AC && admitted.back().second == 255;
            for (auto [low, high] : admitted) expected |= code >= low && code <= high;
            int key = code;
            EXPECT_EQ(ValidKey(inputClass, key), expected) << "class " << inputClass << " code " << code;
            EXPECT_EQ(key, expected ? code : 0) << "class " << inputClass << " code " << code;
        }
    }
}

TEST(CheckDateTest, RewritesOrRefusesTypedDates) {
    const Message noSlash{"INVALID DATE - DATE FORMAT IS (##/##/####)", "Kestrel-Book", Buttons::OK, Icon::Critical};
    const Message invalid{"ERROR - INVALID DATE", "Kestrel-Book", Buttons::OK, Icon::None};
    // The century window in 2026: 00-46 are 2000-2046, 47-99 are 1947-1999; it moves with the year.
    const Date y2059 = year{2059} / 1 / 1;
    const struct {
        const char* typed;
        const char* expected;
        std::vector<Message> messages;
        Date today = year{2026} / 12 / 6;
    } cases[] = {
        {"3/5/2001", "03/05/2001", {}}, {"3/5/01", "03/05/2001", {}},   {"1/1/46", "01/01/2046", {}},
        {"1/1/47", "01/01/1947", {}},   {"1/1/00", "01/01/2000", {}},   {"3/5", "03/05/2026", {}},
        {"2/29/24", "02/29/2024", {}},  {"03052001", "", {noSlash}},    {"02/29/2023", "", {invalid}},
        {"0/5/2001", "", {invalid}},    {"3//2001", "", {invalid}},     {"3/5/20011", "", {invalid}},
        {"/", "", {invalid}},           {"1/1/79", "01/01/2079", {}, y2059}, {"1/1/80", "01/01/1980", {}, y2059},
        {"7/4", "07/04/2059", {}, y2059},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        EXPECT_EQ(CheckDate(c.typed, dialogs, c.today), c.expected) << c.typed;
        EXPECT_EQ(dialogs.messages, c.messages) << c.typed;
    }
}

TEST(SpecialKeysTest, OnlyTheDocumentedCombinationsAct) {
    // The key, its shift state, then the help file and the set-up mode it calls for.
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {kKeyF1, 0, "./KB_HLP.RTF", ""},         {kKeyF1, kShiftMask, "./KB_HLP.RTF", ""},
        {kKeyS, kCtrlMask | kShiftMask, "", "R"}, {kKeyS, kShiftMask, "", ""}, {kKeyS, kCtrlMask, "", ""},
        {kKeyEqualPlus, kCtrlMask | kAltMask, "", "S"}, {kKeyEqualPlus, kCtrlMask, "", ""},
        {kKeyEqualPlus, kAltMask, "", ""},       {kKeyEscape, 0, "", ""},
    };
    for (const auto& [key, shift, helpTarget, setupMode] : cases) {
        SCOPED_TRACE(testing::Message() << "key " << key << " shift " << shift);
        test::ScriptedDialogs dialogs;
        test::RecordingPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        int helpShown = 0, setupShown = 0;
        kb.ShowHelp = [&] { ++helpShown; };
        kb.ShowSetup = [&] { ++setupShown; };
        EXPECT_EQ(SpecialKeys(key, shift, kb), *helpTarget || *setupMode);
        EXPECT_EQ(std::tuple(kb.HelpTarget, kb.SetupMode, helpShown, setupShown),
                  std::tuple(helpTarget, setupMode, *helpTarget ? 1 : 0, *setupMode ? 1 : 0));
    }
}

}  // namespace
}  // namespace kb
