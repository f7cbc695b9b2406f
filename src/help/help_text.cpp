#include "help/help_text.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace kb {

namespace {

constexpr QTextDocument::FindFlags kExact = QTextDocument::FindCaseSensitively;

int LastPosition(const QTextDocument& document) { return document.characterCount() - 1; }

void Delete(QTextDocument& document, int from, int to) {
    QTextCursor cursor(&document);
    cursor.setPosition(std::clamp(from, 0, LastPosition(document)));
    cursor.setPosition(std::clamp(to, 0, LastPosition(document)), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

}  // namespace

bool CutSection(QTextDocument& document, const QString& startMarker, const QString& endMarker) {
    const QTextCursor start = document.find(startMarker, 0, kExact);
    const QTextCursor end = start.isNull() ? QTextCursor() : document.find(endMarker, start.selectionEnd(), kExact);
    if (start.isNull() || end.isNull()) {
        document.clear();
        return false;
    }
    Delete(document, end.selectionStart(), LastPosition(document));
    Delete(document, 0, start.selectionEnd() + 1);
    return true;
}

void RemoveMarker(QTextDocument& document, const QString& marker) {
    const QTextCursor found = document.find(marker, 0, kExact);
    if (!found.isNull()) Delete(document, found.selectionStart(), found.selectionEnd());
}

void RemoveAllMarkers(QTextDocument& document) {
    for (QTextCursor caret = document.find(QStringLiteral("^"), 0, kExact); !caret.isNull();
         caret = document.find(QStringLiteral("^"), caret.selectionStart(), kExact)) {
        const int from = caret.selectionStart();
        Delete(document, from, from + kMarkerLength);
        caret.setPosition(from);
    }
}

}  // namespace kb
