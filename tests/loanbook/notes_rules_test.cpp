#include "loanbook/notes_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kb {
namespace {

TEST(NotesRules, ListIsNewestFirstWithItsKeysRowAligned) {
    const std::vector<NoteRecord> added = {
        {"A1      0007", "01/05/2026", "Called", "Will pay Friday", 7},
        {"A1      9999", "02/01/2026", "", "", 9999},
        {"A1      10000", "", "Paid in full", "", 10000},
    };
    const NoteList list = NotesNewestFirst(added);
    EXPECT_EQ(list.rows, (std::vector<std::string>{" Paid in full", "02/01/2026 ", "01/05/2026 Called"}));
    EXPECT_EQ(list.keys, (std::vector<std::string>{"A1      10000", "A1      9999", "A1      0007"}));

    const NoteList none = NotesNewestFirst({});
    EXPECT_TRUE(none.rows.empty() && none.keys.empty());
}

TEST(NotesRules, NoteWithoutDateOrSubjectIsRefused) {
    const std::optional<std::string> refused = "CAN'T POST NOTE WITHOUT DATE AND SUBJECT";
    const struct {
        const char* date;
        const char* subject;
        std::optional<std::string> refusal;
    } cases[] = {
        {"12/06/2026", "Called", std::nullopt},
        {"12/06/2026", " x", std::nullopt},
        {"", "Called", refused},
        {"    ", "Called", refused},
        {"12/06/2026", "", refused},
        {"12/06/2026", "   ", refused},
        {"", "", refused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteSaveRefusal(c.date, c.subject), c.refusal) << "'" << c.date << "' '" << c.subject << "'";
}

TEST(NotesRules, EntryIsStoredUnderTheKeyOfLoanAndNoteNumber) {
    const struct {
        const char* loanNbr;
        const char* noteNbr;
        const char* key;
        std::int64_t noteID;
    } cases[] = {
        {"A17", "42", "A17     0042", 42},
        {"A17     ", "42", "A17     0042", 42},  // the loan list's row keeps the number's blanks
        {"LONGLOAN", "9999", "LONGLOAN9999", 9999},
        {"LONGLOAN9", "10000", "LONGLOAN10000", 10000},
        {"A1", "", "A1      0000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.loanNbr) + "/" + c.noteNbr);
        const NoteRecord note = NoteOfEntry(c.loanNbr, c.noteNbr, "12/06/2026", "Called", "Line one\nLine two");
        EXPECT_EQ(note, (NoteRecord{c.key, "12/06/2026", "Called", "Line one\nLine two", c.noteID}));
    }
}

}  // namespace
}  // namespace kb
