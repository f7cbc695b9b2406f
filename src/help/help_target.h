#pragma once
#include <string>

namespace kb {

inline constexpr const char* kAboutTarget = "ABOUT";

// What the help viewer shows, read from HelpTarget: "ABOUT", a help file with a section code ("./KB_HLP.RTF/S03E03":
// the text between the markers "^S03" and "^E03"), or a help file alone (the whole file).
struct HelpRequest {
    enum class Kind { About, Section, WholeFile } kind = Kind::About;
    std::string file;
    std::string startMarker;  // "^S03"
    std::string endMarker;    // "^E03"
};

// The HelpTarget of a Help menu entry: the help file with the section code ("/S03E03"), or About for none.
std::string HelpTargetFor(const char* sectionCode);

// The section code is the trailing "/SnnEnn"; every other target names a whole file.
HelpRequest ReadHelpTarget(const std::string& helpTarget);

}  // namespace kb
