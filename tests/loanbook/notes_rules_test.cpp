#include "loanbook/notes_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kb {
namespace {

TEST(NotesRules, ListIsNewestFirstWithItsKeysRowAligned) {
    const NoteList list = NotesNewestFirst({{"A1      0007", "01/05/2026", "Called", "Will pay Friday", 7},
                                            {"A1      9999", "02/01/2026", "", "", 9999},
                                            {"A1      10000", "", "Paid in full", "", 10000}});
    EXPECT_EQ(list.rows, (std::vector<std::string>{" Paid in full", "02/01/2026 ", "01/05/2026 Called"}));
    EXPECT_EQ(list.keys, (std::vector<std::string>{"A1      10000", "A1      9999", "A1      0007"}));
    const NoteList none = NotesNewestFirst({});
    EXPECT_TRUE(none.rows.empty() && none.keys.empty());
}

TEST(NotesRules, NoteWithoutDateOrSubjectIsRefused) {
    const std::optional<std::string> refused = "CAN'T POST NOTE WITHOUT DATE AND SUBJECT";
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"12/06/2026", "Called", std::nullopt}, {"12/06/2026", " x", std::nullopt}, {"", "Called", refused},
        {"    ", "Called", refused},            {"12/06/2026", "", refused},        {"12/06/2026", "   ", refused},
        {"", "", refused},
    };
    for (const auto& [date, subject, refusal] : cases)
        EXPECT_EQ(NoteSaveRefusal(date, subject), refusal) << "'" << date << "' '" << subject << "'";
}

TEST(NotesRules, EntryIsStoredUnderTheKeyOfLoanAndNoteNumber) {
    // The loan number (as the loan list's row keeps it, blanks included), the note number, the key and the note ID.
    const std::tuple<const char*, const char*, const char*, std::int64_t> cases[] = {
        {"A17", "42", "A17     0042", 42},           {"A17     ", "42", "A17     0042", 42},
        {"LONGLOAN", "9999", "LONGLOAN9999", 9999},  {"LONGLOAN9", "10000", "LONGLOAN10000", 10000},
        {"A1", "", "A1      0000", 0},
    };
    for (const auto& [loanNbr, noteNbr, key, noteID] : cases)
        EXPECT_EQ(NoteOfEntry(loanNbr, noteNbr, "12/06/2026", "Called", "Line one\nLine two"),
                  (NoteRecord{key, "12/06/2026", "Called", "Line one\nLine two", noteID}))
            << loanNbr << "/" << noteNbr;
}

}  // namespace
}  // namespace kb
