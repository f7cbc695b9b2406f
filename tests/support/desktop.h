#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <clocale>
#include <string>

namespace kb::test {

// A key as the X server delivers it to Qt: QTest makes up its own text for a key, the desktop sends this one.
struct DesktopKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

inline const DesktopKey kHome{Qt::Key_Home, Qt::NoModifier, {}};
inline const DesktopKey kEnd{Qt::Key_End, Qt::NoModifier, {}};
inline const DesktopKey kRight{Qt::Key_Right, Qt::NoModifier, {}};
inline const DesktopKey kDown{Qt::Key_Down, Qt::NoModifier, {}};
inline const DesktopKey kUp{Qt::Key_Up, Qt::NoModifier, {}};
inline const DesktopKey kDelete{Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f))};
inline const DesktopKey kBackspace{Qt::Key_Backspace, Qt::NoModifier, QString(QChar(8))};
inline const DesktopKey kF1{Qt::Key_F1, Qt::NoModifier, {}};
inline const DesktopKey kShiftF1{Qt::Key_F1, Qt::ShiftModifier, {}};
// Control+Alt is AltGr to Qt: the event carries the character of the key.
inline const DesktopKey kSetupOptions{Qt::Key_Equal, Qt::ControlModifier | Qt::AltModifier, "="};
inline const DesktopKey kSetupName{Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x13))};

// Presses and releases the key in `target`.
inline void Press(QWidget* target, const DesktopKey& key) {
    QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers, key.text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers, key.text);
    QApplication::sendEvent(target, &release);
}

// Types the text one character at a time, each key carrying its character as the desktop sends it.
inline void Type(QWidget* target, const QString& text) {
    for (QChar c : text) Press(target, {c.toUpper().unicode(), Qt::NoModifier, QString(c)});
}

// The C library's language switched, for the life of the object, to one that writes a decimal comma, as on a
// German desktop (the test command generates it).
class DecimalCommaLanguage {
public:
    DecimalCommaLanguage() : before_(std::setlocale(LC_ALL, nullptr)) {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) ADD_FAILURE() << "the locale de_DE.UTF-8 is not installed";
    }
    ~DecimalCommaLanguage() { std::setlocale(LC_ALL, before_.c_str()); }
    DecimalCommaLanguage(const DecimalCommaLanguage&) = delete;
    DecimalCommaLanguage& operator=(const DecimalCommaLanguage&) = delete;

private:
    std::string before_;
};

}  // namespace kb::test
