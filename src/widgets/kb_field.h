#pragma once
#include <QLineEdit>
#include <optional>
#include <string>
#include <string_view>

#include "core/kbmain.h"

class QKeyEvent;

namespace kb {

// The key code and shift state (1 shift, 2 control, 4 alt) the program's key rules speak of.
int VirtualKeyCode(const QKeyEvent& event);
int ShiftState(const QKeyEvent& event);
// The character's code in code page 1252, or -1 for a character that set does not hold.
int Cp1252Code(QChar character);
// The code a key press types, as the input classes judge it (Backspace 8, Enter 13, -1 for a character outside
// code page 1252); nullopt for a key that types nothing: caret movement, and editing keys whose text is a control
// character (Delete carries U+007F under X11), which edit as usual and are never judged by an input class.
std::optional<int> TypedCode(const QKeyEvent& event);

// What the key rules every filtered field shares decide about one key press.
struct FieldKey {
    enum class Action {
        Restore,  // F10: back to the text the field had when it got the focus
        Clear,    // Alt+Delete: empty the field
        Taken,    // a key SpecialKeys acted on: consumed whole, it types nothing
        Refused,  // a character the input class rejects
        Edit,     // a key that types nothing: ordinary editing
        Type,     // an accepted character, `code`
    };
    Action action;
    int code = 0;
};
// Runs F10, Alt+Delete and SpecialKeys (which may open the help viewer or the setup screen), then judges the typed
// character by the input class.
FieldKey JudgeFieldKey(const QKeyEvent& event, std::string_view inputClass, KBMain& kb);

// A data-entry field of the program. Typed characters go through ValidKey with the field's input class; an
// accepted character typed at the very start of the field replaces its text (not for "M"); F10 restores the text
// the field had when it got the focus; Alt+Delete empties it; other keys go to SpecialKeys. A date field ("D") is
// rewritten by CheckDate when the focus moves to another control of the same window. Whenever the program sets
// the text, the caret goes to the start, so that typing over a default (a date, an amount) replaces it.
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
    void restoreSavedText();

    KBMain& kb_;
    std::string inputClass_;
    QString savedText_;
    bool userEdited_ = false;  // the text change under way comes from the lender's typing
};

// True when a focus change moves between controls of one window, not to a message box or another window.
bool FocusStaysInWindow(Qt::FocusReason reason);

}  // namespace kb
