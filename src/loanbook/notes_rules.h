#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/records.h"

namespace kb {

// The note fields of the note detail panel, `txtNote` 0 to 2.
inline constexpr int kNoteDTField = 0;
inline constexpr int kSubjectField = 1;
inline constexpr int kNoteTextField = 2;
inline constexpr int kNoteFieldCount = 3;

// What the note detail panel is doing (NoteMode): "A" adding, "V" viewing, "E" editing. An empty mode, before the
// first note command of the screen, counts as adding.
struct NoteLayout {
    std::array<bool, kNoteFieldCount> takesTyping{};
    bool saveShown = false;
    bool editShown = false;
    bool editEnabled = false;
};
NoteLayout NoteLayoutOf(std::string_view noteMode);
bool NoteFieldTakesTyping(std::string_view noteMode, int field);

// A loan's notes as the notes list shows them, newest first; keys[i] is the NoteKey of rows[i].
struct NoteList {
    std::vector<std::string> rows;
    std::vector<std::string> keys;
};
// A row of the notes list: the note's date, one blank and its subject.
std::string NoteRow(const NoteRecord& note);
// `notes` in the order they were added (Note-ID order, as the store reads a loan's notes).
NoteList NotesNewestFirst(const std::vector<NoteRecord>& notes);

// Why a note cannot be saved, or nothing when it can: a note needs a date and a subject.
std::optional<std::string> NoteSaveRefusal(std::string_view noteDT, std::string_view subject);

// The note the detail panel describes, under the key of the loan number and the note number shown in txtNbr.
NoteRecord NoteOfEntry(std::string_view loanNbr, std::string_view noteNbrText, std::string noteDT,
                       std::string subject, std::string note);

}  // namespace kb
