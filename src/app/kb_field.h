#pragma once
#include <QLineEdit>
#include <optional>
#include <string>

#include "core/kbmain.h"

class QKeyEvent;

namespace kb {

// The key code and shift state (1 shift, 2 control, 4 alt) the program's key rules speak of.
int VirtualKeyCode(const QKeyEvent& event);
int ShiftState(const QKeyEvent& event);
// The character's code in code page 1252, or -1 for a character that set does not hold.
int Cp1252Code(QChar character);
// The code a key press types, as the input classes judge it (Backspace 8, Enter 13, -1 for a character outside
// code page 1252); nullopt for a key that types nothing (caret movement and the like).
std::optional<int> TypedCode(const QKeyEvent& event);

// A data-entry field of the program. Typed characters go through ValidKey with the field's input class; an
// accepted character typed at the very start of the field replaces its text (not for "M"); F10 restores the text
// the field had when it got the focus; Alt+Delete empties it; other keys go to SpecialKeys. A date field ("D") is
// rewritten by CheckDate when the focus moves to another control of the same window.
class KBField : public QLineEdit {
    Q_OBJECT
public:
    KBField(const QString& objectName, std::string inputClass, KBMain& kb, QWidget* parent = nullptr);

    const std::string& inputClass() const { return inputClass_; }
    void setInputClass(std::string inputClass) { inputClass_ = std::move(inputClass); }
    // The text the field had when it last got the focus.
    const QString& savedText() const { return savedText_; }

signals:
    void gotFocus();
    // The focus moved to another control of the same window (after a date field was rewritten).
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool filterCharacter(QKeyEvent& event);

    KBMain& kb_;
    std::string inputClass_;
    QString savedText_;
};

// True when a focus change moves between controls of one window, not to a message box or another window.
bool FocusStaysInWindow(Qt::FocusReason reason);

}  // namespace kb
