#include "widgets/kb_field.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <array>
#include <utility>

#include "core/input_rules.h"

namespace kb {

namespace {

// Code page 1252 holds these characters at codes 128 to 159; zero marks the five codes it leaves unused.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

int Cp1252Code(QChar character) {
    const char16_t unicode = character.unicode();
    if (unicode < 128 || (unicode >= 160 && unicode <= 255)) return unicode;
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == unicode) return static_cast<int>(128 + i);
    }
    return -1;
}

int VirtualKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kKeyF1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Delete: return kKeyDelete;
        case Qt::Key_Equal:
        case Qt::Key_Plus: return kKeyEqualPlus;
        default: return 0;
    }
}

int ShiftState(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::ShiftModifier ? kShiftMask : 0) | (modifiers & Qt::ControlModifier ? kCtrlMask : 0) |
           (modifiers & Qt::AltModifier ? kAltMask : 0);
}

std::optional<int> TypedCode(const QKeyEvent& event) {
    const int key = VirtualKeyCode(event);
    if (key == 8 || key == 13) return key;
    const QString& text = event.text();
    if (text.isEmpty()) return std::nullopt;
    if (text.size() > 1) return -1;
    const char16_t character = text.at(0).unicode();
    if (character < 32 || character == 127) return std::nullopt;
    return Cp1252Code(text.at(0));
}

FieldKey JudgeFieldKey(const QKeyEvent& event, std::string_view inputClass, KBMain& kb) {
    const int key = VirtualKeyCode(event);
    const int shift = ShiftState(event);
    if (key == kKeyF10) return {FieldKey::Action::Restore};
    if (key == kKeyDelete && (shift & kAltMask)) return {FieldKey::Action::Clear};
    if (SpecialKeys(key, shift, kb)) return {FieldKey::Action::Taken};
    const std::optional<int> typed = TypedCode(event);
    if (!typed) return {FieldKey::Action::Edit};
    int code = *typed;
    if (!ValidKey(inputClass, code)) return {FieldKey::Action::Refused};
    return {FieldKey::Action::Type, code};
}

bool FocusStaysInWindow(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

KBField::KBField(const QString& objectName, std::string inputClass, KBMain& kb, QWidget* parent)
    : QLineEdit(parent), kb_(kb), inputClass_(std::move(inputClass)) {
    setObjectName(objectName);
    // textEdited comes just before textChanged for the lender's own edits; any other change is the program's.
    connect(this, &QLineEdit::textEdited, this, [this] { userEdited_ = true; });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!std::exchange(userEdited_, false)) setCursorPosition(0);
    });
}

void KBField::keyPressEvent(QKeyEvent* event) {
    const FieldKey judged = JudgeFieldKey(*event, inputClass_, kb_);
    switch (judged.action) {
        case FieldKey::Action::Restore: restoreSavedText(); return;
        case FieldKey::Action::Clear: clear(); return;
        case FieldKey::Action::Taken:
        case FieldKey::Action::Refused: event->accept(); return;
        case FieldKey::Action::Type: {
            // Typing or Backspace at the very start replaces the old text. Enter and control combinations (a copy
            // with Control+C) leave it alone: emptying a field for those would lose what the lender typed.
            const bool replaces = judged.code >= 32 || judged.code == 8;
            if (replaces && inputClass_ != "M" && cursorPosition() == 0 && !isReadOnly()) clear();
            break;
        }
        case FieldKey::Action::Edit: break;
    }
    QLineEdit::keyPressEvent(event);
}

void KBField::restoreSavedText() {
    setText(savedText_);
    setCursorPosition(0);  // also when the text had not changed, which moves the caret without a textChanged
}

void KBField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    savedText_ = text();
    emit gotFocus();
}

void KBField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!FocusStaysInWindow(event->reason())) return;
    if (inputClass_ == "D" && !text().trimmed().isEmpty())
        setText(QString::fromStdString(CheckDate(text().toStdString(), kb_.dialogs, kb_.clock.today())));
    emit lostFocus();
}

}  // namespace kb
