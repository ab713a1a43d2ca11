#include "form2_window_fixture.h"

void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(widget, character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

void Form2WindowFixture::SetUp() {
    program = std::make_unique<Form2Program<QtFormWindow>>();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
}

void Form2WindowFixture::TearDown() {
    program.reset();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left open";
}

void TypeInto(QWidget* widget, const QString& text) {
    widget->setFocus();
    TypeKeys(widget, text);
}

void Form2WindowFixture::TypePerson(const QString& name, const QString& year, const QString& sex,
                                    const QString& height) {
    TypeInto(edit("Text1"), name);
    TypeInto(edit("Text2"), year);
    combo()->setFocus();
    combo()->clearEditText();
    TypeKeys(combo(), sex);
    TypeInto(edit("Text3"), height);
}

std::vector<MessageBoxAnswerer::SeenBox> Form2WindowFixture::Click(const char* name) {
    MessageBoxAnswerer answerer;
    QTest::mouseClick(button(name), Qt::LeftButton);
    return answerer.Seen();
}
