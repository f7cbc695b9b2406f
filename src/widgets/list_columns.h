#pragma once
#include <QFont>
#include <QString>
#include <QStringList>
#include <Qt>
#include <span>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QWidget;

namespace kb {

// The texts as the rows of a list, for filling it in one call.
QStringList ToStringList(const std::vector<std::string>& texts);

// A window's bold heading, centred over the window.
QLabel* WindowHeading(QWidget* parent, const char* objectName, const char* text);

// The width a fixed-pitch list needs to show its rows of `rowCharacters` characters whole with the vertical scroll
// bar beside them: a list at least this wide never needs a horizontal scroll bar. The list's font must be set.
int ListWidthForRows(const QListWidget& list, int rowCharacters);

// With no row of the list selected, Down selects the first row and Up the last; Qt would move on from the row that
// only carries the focus frame. Every other key is left to the list and to the filters installed before this one.
void SelectEndRowFromKeyboard(QListWidget& list);

// A heading over a fixed-pitch list's character columns: first column (from 0) and width in characters, the text
// line it starts on (from 0) and how many lines it may wrap onto.
struct ColumnHeading {
    const char* text;
    int column;
    int width;
    Qt::Alignment alignment;
    int line = 0;
    int lines = 1;
};

// A strip of `lineCount` text lines holding the headings, each placed over its columns of `list` (whose font and
// frame decide where the characters stand). Heading i is named objectNamePrefix + i when a prefix is given.
QWidget* ColumnHeadings(QWidget* parent, const QListWidget& list, std::span<const ColumnHeading> headings,
                        int lineCount, const QString& objectNamePrefix = QString());

}  // namespace kb
