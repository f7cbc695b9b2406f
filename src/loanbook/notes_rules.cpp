#include "loanbook/notes_rules.h"

#include <cmath>

#include "core/format.h"
#include "store/store.h"

namespace kb {

namespace {

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

NoteLayout NoteLayoutOf(std::string_view noteMode) {
    if (noteMode == "V") return {{false, false, false}, false, true, true};
    // Editing changes the text of a note, never its date or subject.
    if (noteMode == "E") return {{false, false, true}, true, true, false};
    // Adding: the Edit button is hidden, and ready for the next note viewed.
    return {{true, true, true}, true, false, true};
}

bool NoteFieldTakesTyping(std::string_view noteMode, int field) {
    if (field < 0 || field >= kNoteFieldCount) return false;
    return NoteLayoutOf(noteMode).takesTyping[static_cast<std::size_t>(field)];
}

std::string NoteRow(const NoteRecord& note) { return note.NoteDT + " " + note.Subject; }

NoteList NotesNewestFirst(const std::vector<NoteRecord>& notes) {
    NoteList list;
    list.rows.reserve(notes.size());
    list.keys.reserve(notes.size());
    for (auto note = notes.rbegin(); note != notes.rend(); ++note) {
        list.rows.push_back(NoteRow(*note));
        list.keys.push_back(note->LoanNbr);
    }
    return list;
}

std::optional<std::string> NoteSaveRefusal(std::string_view noteDT, std::string_view subject) {
    static constexpr const char* kNeedsDateAndSubject = "CAN'T POST NOTE WITHOUT DATE AND SUBJECT";
    if (IsBlank(noteDT) || IsBlank(subject)) return kNeedsDateAndSubject;
    return std::nullopt;
}

NoteRecord NoteOfEntry(std::string_view loanNbr, std::string_view noteNbrText, std::string noteDT,
                       std::string subject, std::string note) {
    const auto noteID = static_cast<std::int64_t>(std::trunc(NumVal(noteNbrText)));
    return {NoteKey(loanNbr, noteID), std::move(noteDT), std::move(subject), std::move(note), noteID};
}

}  // namespace kb
