#include "form2_window_fixture.h"

// The keys a user of this form expects: Return and keypad Enter press the
// focused button as Space does. There is still no default button.

namespace {

using Form2KeysTest = Form2WindowFixture;

TEST_F(Form2KeysTest, ReturnEnterAndSpaceOnAFocusedButtonClickIt) {
    struct Key {
        const char* name = "";
        Qt::Key key = Qt::Key_unknown;
        Qt::KeyboardModifiers modifiers;
    };
    const Key keys[] = {{"Return", Qt::Key_Return, Qt::NoModifier},
                        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
                        {"Space", Qt::Key_Space, Qt::NoModifier}};
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        TypePerson("Same", "1990", "Male", "180");
        button("Command1")->setFocus();
        MessageBoxAnswerer answerer;
        QTest::keyClick(button("Command1"), key.key, key.modifiers);
        EXPECT_EQ(answerer.Texts(), std::vector<QString>{"Запись добавлена"});
    }
    ASSERT_EQ(table().PeopleCount(), 3);

    button("Command2")->setFocus();
    MessageBoxAnswerer answerer;
    QTest::keyClick(button("Command2"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(answerer.Texts(), (std::vector<QString>{"Найдена пара мужчин: Same   Same",
                                                      "Найдена пара мужчин: Same   Same",
                                                      "Найдена пара мужчин: Same   Same"}));
}

TEST_F(Form2KeysTest, ReturnWithCtrlOrAltOnAButtonDoesNothing) {
    button("Command1")->setFocus();
    MessageBoxAnswerer answerer;
    QTest::keyClick(button("Command1"), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(button("Command1"), Qt::Key_Return, Qt::AltModifier);
    QTest::qWait(20);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(table().PeopleCount(), 0);
}

} // namespace
