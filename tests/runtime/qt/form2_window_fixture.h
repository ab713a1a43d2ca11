#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "message_box_answerer.h"
#include "runtime/qt/qt_form_window.h"
#include "window/form2_program.h"

// Shows a QString in a failure message as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Runs what earlier input left queued (posted events, queued calls), so
// that a test can then check that it changed nothing. A box it opens runs
// its own loop in here, where an answerer sees it.
inline void HandleQueuedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Finds a control of Form2 by its name; a missing one fails the test with its name.
template <typename Widget> Widget* Find(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) ADD_FAILURE() << "no control named " << name << " of the expected kind";
    return widget;
}

// Types the text key by key. QTest::keyClicks knows only ASCII keys, so
// other characters arrive as key events that carry just their text, as an
// input method delivers them.
void TypeKeys(QWidget* widget, const QString& text);

// Gives the widget the focus and types the text into it.
void TypeInto(QWidget* widget, const QString& text);

// Form2 shown and active on the offscreen platform, with helpers that work
// its controls the way a user does. Every test starts with a fresh window
// and an empty table, and must leave no window open.
class Form2WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QWidget& window() { return program->Window(); }
    QLineEdit* edit(const char* name) { return Find<QLineEdit>(window(), name); }
    QComboBox* combo() { return Find<QComboBox>(window(), "Combo1"); }
    QPushButton* button(const char* name) { return Find<QPushButton>(window(), name); }
    const PersonTable& table() { return program->Form().Table(); }

    void TypePerson(const QString& name, const QString& year, const QString& sex,
                    const QString& height);
    // Clicks the button and answers every box it opens; returns the boxes seen.
    std::vector<MessageBoxAnswerer::SeenBox> Click(const char* name);

    std::unique_ptr<Form2Program<QtFormWindow>> program;
};
