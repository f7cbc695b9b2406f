#include "core/input_rules.h"

#include <gtest/gtest.h>

#include "support/fixed_clock.h"
#include "support/recording_printing.h"
#include "support/scripted_dialogs.h"

namespace kb {
namespace {

using namespace std::chrono;

// Every code from 0 to 255 that a class admits, written as ranges.
struct ClassRanges {
    const char* inputClass;
    std::vector<std::pair<int, int>> admitted;
};

TEST(ValidKeyTest, EachClassAdmitsExactlyItsCodes) {
    const ClassRanges classes[] = {
        {"S", {{0, 33}, {35, 43}, {45, 122}}},
        {"M", {{0, 33}, {35, 122}}},
        {"V", {{0, 12}, {14, 31}, {42, 43}, {45, 46}, {48, 57}}},
        {"N", {{0, 31}, {48, 57}}},
        {"D", {{0, 31}, {47, 57}}},
        {"K", {{0, 31}, {45, 45}, {48, 57}, {65, 90}, {97, 122}}},
        {"", {{0, 255}}},
        {"X", {{0, 255}}},
    };
    for (const auto& c : classes) {
        for (int code = 0; code <= 255; ++code) {
            bool expected = false;
            for (auto [low, high] : c.admitted) expected |= code >= low && code <= high;
            int key = code;
            EXPECT_EQ(ValidKey(c.inputClass, key), expected) << "class " << c.inputClass << " code " << code;
            EXPECT_EQ(key, expected ? code : 0) << "class " << c.inputClass << " code " << code;
        }
    }
}

TEST(ValidKeyTest, CharactersOutsideTheEightBitSetOnlyPassUnfilteredFields) {
    for (const char* inputClass : {"S", "M", "V", "N", "D", "K"}) {
        int key = 0x20AC;
        EXPECT_FALSE(ValidKey(inputClass, key)) << inputClass;
    }
    int key = 0x20AC;
    EXPECT_TRUE(ValidKey("", key));
}

struct DateCase {
    const char* typed;
    const char* expected;  // "" when refused
    const char* message;   // the message shown, or nullptr
};

TEST(CheckDateTest, RewritesOrRefusesTypedDates) {
    constexpr const char* kNoSlash = "INVALID DATE - DATE FORMAT IS (##/##/####)";
    constexpr const char* kInvalid = "ERROR - INVALID DATE";
    const DateCase cases[] = {
        {"3/5/2001", "03/05/2001", nullptr},
        {"3/5/01", "03/05/2001", nullptr},
        {"12/31/99", "12/31/1999", nullptr},
        {"1/1/19", "01/01/2019", nullptr},
        {"1/1/20", "01/01/2020", nullptr},
        {"6/1/26", "06/01/2026", nullptr},
        // The century window in 2026: 00-46 are 2000-2046, 47-99 are 1947-1999.
        {"1/1/46", "01/01/2046", nullptr},
        {"1/1/47", "01/01/1947", nullptr},
        {"1/1/00", "01/01/2000", nullptr},
        {"3/5", "03/05/2026", nullptr},
        {"02/29/2024", "02/29/2024", nullptr},
        {"2/29/24", "02/29/2024", nullptr},
        {"03052001", "", kNoSlash},
        {"02/29/2023", "", kInvalid},
        {"02/29/1900", "", kInvalid},
        {"02/30/2001", "", kInvalid},
        {"13/13/2001", "", kInvalid},
        {"0/5/2001", "", kInvalid},
        {"3//2001", "", kInvalid},
        {"3/5/20011", "", kInvalid},
        {"/", "", kInvalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        test::ScriptedDialogs dialogs;
        EXPECT_EQ(CheckDate(c.typed, dialogs, year{2026} / 12 / 6), c.expected);
        if (c.message == nullptr) {
            EXPECT_TRUE(dialogs.messages.empty());
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const auto& shown = dialogs.messages[0];
        EXPECT_EQ(shown.text, c.message);
        EXPECT_EQ(shown.title, "Kestrel-Book");
        EXPECT_EQ(shown.icon, c.message == kNoSlash ? Icon::Critical : Icon::None);
    }
}

TEST(CheckDateTest, CenturyWindowMovesWithTheCurrentYear) {
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(CheckDate("1/1/79", dialogs, year{2059} / 1 / 1), "01/01/2079");
    EXPECT_EQ(CheckDate("1/1/80", dialogs, year{2059} / 1 / 1), "01/01/1980");
    EXPECT_EQ(CheckDate("7/4", dialogs, year{2031} / 1 / 1), "07/04/2031");
}

TEST(SpecialKeysTest, OnlyTheDocumentedCombinationsAct) {
    struct KeyCase {
        int key;
        int shift;
        const char* helpTarget;
        const char* setupMode;
    };
    const KeyCase cases[] = {
        {kKeyF1, 0, "./KB_HLP.RTF", ""},
        {kKeyF1, kShiftMask, "./KB_HLP.RTF", ""},
        {kKeyS, kCtrlMask | kShiftMask, "", "R"},
        {kKeyS, 0, "", ""},
        {kKeyS, kShiftMask, "", ""},
        {kKeyS, kCtrlMask, "", ""},
        {kKeyEqualPlus, kCtrlMask | kAltMask, "", "S"},
        {kKeyEqualPlus, kCtrlMask, "", ""},
        {kKeyEqualPlus, kAltMask, "", ""},
        {kKeyEscape, 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " shift " << c.shift);
        test::ScriptedDialogs dialogs;
        test::RecordingPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        int helpShown = 0, setupShown = 0;
        kb.ShowHelp = [&] { ++helpShown; };
        kb.ShowSetup = [&] { ++setupShown; };
        EXPECT_EQ(SpecialKeys(c.key, c.shift, kb), *c.helpTarget || *c.setupMode);
        EXPECT_EQ(kb.HelpTarget, c.helpTarget);
        EXPECT_EQ(kb.SetupMode, c.setupMode);
        EXPECT_EQ(helpShown, *c.helpTarget ? 1 : 0);
        EXPECT_EQ(setupShown, *c.setupMode ? 1 : 0);
    }
}

}  // namespace
}  // namespace kb
