#include "widgets/list_columns.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QtMath>

namespace kb {

QStringList ToStringList(const std::vector<std::string>& texts) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) items.push_back(QString::fromStdString(text));
    return items;
}

QLabel* WindowHeading(QWidget* parent, const char* objectName, const char* text) {
    auto* heading = new QLabel(QString::fromUtf8(text), parent);
    heading->setObjectName(objectName);
    heading->setAlignment(Qt::AlignHCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    return heading;
}

int ListWidthForRows(const QListWidget& list, int rowCharacters) {
    // A row as the list's items are drawn: the style adds its text margins to the text's width.
    QStyleOptionViewItem row;
    row.initFrom(&list);
    row.font = list.font();
    row.fontMetrics = QFontMetrics(list.font());
    row.text = QString(rowCharacters, QLatin1Char('0'));
    row.features = QStyleOptionViewItem::HasDisplay;
    const QStyle* style = list.style();
    const int rowWidth = style->sizeFromContents(QStyle::CT_ItemViewItem, &row, QSize(), &list).width();
    const int scrollBarWidth = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return 2 * list.frameWidth() + rowWidth + scrollBarWidth;
}

namespace {

class EndRowKeys : public QObject {
public:
    explicit EndRowKeys(QListWidget& list) : QObject(&list), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &list_ || event->type() != QEvent::KeyPress || list_.count() == 0 ||
            list_.selectionModel()->hasSelection())
            return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // The arrows of the number pad come with the keypad modifier.
        if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        if (key.key() == Qt::Key_Down) {
            list_.setCurrentRow(0);
        } else if (key.key() == Qt::Key_Up) {
            list_.setCurrentRow(list_.count() - 1);
        } else {
            return false;
        }
        return true;
    }

private:
    QListWidget& list_;
};

}  // namespace

void SelectEndRowFromKeyboard(QListWidget& list) { list.installEventFilter(new EndRowKeys(list)); }

QWidget* ColumnHeadings(QWidget* parent, const QListWidget& list, std::span<const ColumnHeading> headings,
                        int lineCount, const QString& objectNamePrefix) {
    auto* strip = new QWidget(parent);
    const QFontMetricsF metrics(list.font());
    // Fractional: rounded to whole pixels, a long row's columns would drift from their headings.
    const qreal charWidth = metrics.horizontalAdvance('0');
    const int lineHeight = qCeil(metrics.height()) + 2;
    // The list draws its rows inside its frame and the item's own margin.
    const int inset = list.frameWidth() + 4;
    const auto x = [&](int column) { return inset + qRound(column * charWidth); };
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const ColumnHeading& heading = headings[i];
        auto* label = new QLabel(QString::fromUtf8(heading.text), strip);
        if (!objectNamePrefix.isEmpty()) label->setObjectName(objectNamePrefix + QString::number(i));
        label->setFont(list.font());
        label->setAlignment(heading.alignment | Qt::AlignBottom);
        label->setWordWrap(heading.lines > 1);
        const int left = x(heading.column);
        label->setGeometry(left, heading.line * lineHeight, x(heading.column + heading.width) - left,
                           heading.lines * lineHeight);
    }
    strip->setFixedHeight(lineCount * lineHeight + 2);
    return strip;
}

}  // namespace kb
