#pragma once
#include <QString>

class QTextDocument;

namespace kb {

// The plain text of the help file is divided into sections by markers of four characters: "^S03" begins section 3,
// "^E03" ends it. The caret serves nothing but markers.
inline constexpr int kMarkerLength = 4;

// Leaves in `document` only the text after the first `startMarker` up to the first `endMarker` after it, with its
// formatting. The character right after the start marker (as a rule the line break that ends the marker's line) is
// left out. When a marker is missing the document is emptied and the answer is false.
bool CutSection(QTextDocument& document, const QString& startMarker, const QString& endMarker);

// Deletes the first `marker`; the line breaks around it stay.
void RemoveMarker(QTextDocument& document, const QString& marker);

// Deletes every marker: the four characters that begin at each caret. The line breaks around them stay.
void RemoveAllMarkers(QTextDocument& document);

}  // namespace kb
