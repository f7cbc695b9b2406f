#include "widgets/window_parts.h"

#include <QAction>
#include <QFontDatabase>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

namespace kb {

QFont FixedPitchFont(int points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(points);
    return font;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const char* caption, const char* toolTip) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(objectName);
    if (toolTip) button->setToolTip(QString::fromUtf8(toolTip));
    return button;
}

QAction* AddAction(QMenu* menu, const char* objectName, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(objectName);
    return action;
}

void ReleaseFocus(QWidget* window) {
    if (QWidget* focused = window->focusWidget()) focused->clearFocus();
}

}  // namespace kb
