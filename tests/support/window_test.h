#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "store/store.h"
#include "support/doubles.h"
#include "support/temp_dir.h"

namespace kb::test {

inline void PrintTo(const ScriptedDialogs::Message& m, std::ostream* out) { *out << m.title << ": " << m.text; }

// A book started in a fresh working directory, with the doubles of the three seams: the ground of the window tests.
class WindowTest : public ::testing::Test, protected Doubles {
protected:
    void SetUp() override { ASSERT_TRUE(StartUp(kb)); }
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) window->close();
        Settle();
    }

    // Lets the windows close and delete what they gave up.
    static void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The visible top-level window of that name, or null.
    static QWidget* Shown(const char* objectName) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == objectName && window->isVisible()) return window;
        return nullptr;
    }
    // Empties a field that takes typing (Alt+Delete) and types into it; the focus stays there.
    static void TypeOver(QWidget* field, const char* keys) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_Delete, Qt::AltModifier);
        QTest::keyClicks(field, keys);
    }
    static void Click(const QWidget* window, const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static std::vector<std::string> Rows(const QListWidget* list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text().toStdString());
        return rows;
    }
    // A message as the program says it: under its title, no icon.
    static ScriptedDialogs::Message Said(const char* text, Buttons buttons = Buttons::OK) {
        return {text, kAppTitle, buttons, Icon::None};
    }
    static ScriptedDialogs::Message Failed(const char* text, const char* label) {
        return {text, label, Buttons::OK, Icon::Critical};
    }
    // Runs `answer` on the modal window that the next step opens, once it shows.
    static void WhenModalOpens(std::function<void(QWidget&)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            answer(*modal);
        });
    }
    void addLoan(const LoanRecord& loan) const { LoanTable(kb.LoanDB).add(loan); }

    TempDir dir;
    WorkingDir inDir{dir.path()};
};

}  // namespace kb::test
