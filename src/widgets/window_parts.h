#pragma once
#include <QFont>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace kb {

// The system's fixed-pitch font: the lists and the note fields use 9 points, the setup fields 10.
QFont FixedPitchFont(int points = 9);

QPushButton* MakeButton(QWidget* parent, const char* objectName, const char* caption,
                        const char* toolTip = nullptr);
QAction* AddAction(QMenu* menu, const char* objectName, const char* caption);

}  // namespace kb
