#pragma once
#include <string>
#include <string_view>

class QTextDocument;

namespace kb {

// Reads rich text (RTF) into `document`, replacing what it held: groups, the font and colour tables, bold, italic,
// underline, font size, colour, paragraphs, line breaks, tabs, alignment and indents, \'hh in code page 1252 and
// \uN with its fallback. Ignorable destinations (\*) and control words it does not know are skipped. Damaged input
// never stops it: what it cannot read is left out, and the time it takes grows with the length of the input only.
void ReadRtf(std::string_view rtf, QTextDocument& document);

// Reads an RTF file into `document`; throws std::runtime_error when the file cannot be read.
void LoadRtfFile(const std::string& path, QTextDocument& document);

}  // namespace kb
