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

// The widget of `window` that has the focus gives it up, so that a field being typed in is left and its rules run.
void ReleaseFocus(QWidget* window);

// A size given in twips, in pixels: 15 twips to a pixel on a 96 dpi screen.
constexpr int TwipsToPixels(int twips) { return twips / 15; }

}  // namespace kb
