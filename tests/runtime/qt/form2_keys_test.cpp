#include <QMenu>

#include "form2_window_fixture.h"

// The keys a user of this form expects: Return and keypad Enter press the
// focused button as Space does, Alt with a key types nothing, and Shift+F10
// opens an input's context menu. There is still no default button.

namespace {

using Form2KeysTest = Form2WindowFixture;

const char* const Inputs[] = {"Text1", "Text2", "Text3", "Combo1"};

// The line edit that holds the input's text; a combo box's is its own.
QLineEdit* EditOf(QWidget* input) {
    if (auto* combo = qobject_cast<QComboBox*>(input)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(input);
}

// Ctrl and Shift make no difference to Return or Enter on a focused button,
// as on Windows; with Alt the key is the window's, never a click.
TEST_F(Form2KeysTest, ReturnEnterAndSpaceOnAFocusedButtonClickItWithCtrlOrShiftButNotAlt) {
    struct Key {
        const char* name = "";
        Qt::Key key = Qt::Key_unknown;
        Qt::KeyboardModifiers modifiers;
        bool clicks = false;
    };
    const Key keys[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, true},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"Space", Qt::Key_Space, Qt::NoModifier, true},
        {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, true},
        {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier, true},
        {"Ctrl+Shift+Return", Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, true},
        {"Ctrl+keypad Enter", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, true},
        {"Alt+Return", Qt::Key_Return, Qt::AltModifier, false},
        {"Alt+keypad Enter", Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier, false},
        {"Ctrl+Alt+Return", Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier, false},
    };
    int added = 0;
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        TypePerson("Same", "1990", "Male", "180");
        button("Command1")->setFocus();
        MessageBoxAnswerer answerer;
        QTest::keyClick(button("Command1"), key.key, key.modifiers);
        if (key.clicks) {
            ++added;
            EXPECT_EQ(answerer.Texts(), std::vector<QString>{"Запись добавлена"});
        } else {
            HandleQueuedEvents(); // a click posted by the key would be handled by now
            EXPECT_TRUE(answerer.Seen().empty());
        }
        EXPECT_EQ(table().PeopleCount(), added);
    }

    button("Command2")->setFocus();
    MessageBoxAnswerer answerer;
    QTest::keyClick(button("Command2"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(answerer.Texts().size(), static_cast<std::size_t>(added * (added - 1) / 2));
}

TEST_F(Form2KeysTest, AltWithALetterOrDigitTypesNothingIntoAnInput) {
    for (const char* name : Inputs) {
        SCOPED_TRACE(name);
        auto* input = window().findChild<QWidget*>(name);
        TypeInto(input, "a");
        QTest::keyClick(input, 'd', Qt::AltModifier);
        QTest::keyClick(input, 'F', Qt::AltModifier | Qt::ShiftModifier);
        QTest::keyClick(input, '1', Qt::AltModifier);
        QTest::keyClick(input, Qt::Key_1, Qt::AltModifier | Qt::KeypadModifier);
        TypeKeys(input, "b");
        EXPECT_EQ(EditOf(input)->text(), QString("ab"));
    }
}

// Ctrl+Alt is how Windows keyboards report AltGr, which types the letters
// of many layouts (Polish ą, German @): those keep typing.
TEST_F(Form2KeysTest, CtrlAltWithALetterStillTypesIt) {
    for (const char* name : Inputs) {
        SCOPED_TRACE(name);
        auto* input = window().findChild<QWidget*>(name);
        input->setFocus();
        const auto altGr = Qt::ControlModifier | Qt::AltModifier;
        QTest::sendKeyEvent(QTest::Press, input, Qt::Key_A, QString("ą"), altGr);
        QTest::sendKeyEvent(QTest::Release, input, Qt::Key_A, QString("ą"), altGr);
        EXPECT_EQ(EditOf(input)->text(), QString("ą"));
    }
}

TEST_F(Form2KeysTest, ShiftF10OpensTheInputsContextMenu) {
    for (const char* name : Inputs) {
        SCOPED_TRACE(name);
        auto* input = window().findChild<QWidget*>(name);
        input->setFocus();
        QTest::keyClick(input, Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu opened";
        EXPECT_EQ(menu->parentWidget(), EditOf(input)) << "not the input's own menu";
        EXPECT_FALSE(menu->actions().isEmpty());
        menu->close();
    }
}

} // namespace
