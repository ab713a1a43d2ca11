#include <QAbstractItemView>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>

#include <functional>

#include "form2_window_fixture.h"

// The sex combo as a user of this form expects it: opening the list
// highlights the item the typed text starts, Return or a click picks the
// highlighted item, and the wheel does nothing to a combo without the focus.
// The list is a real popup here too; the same tests run under a real X
// server (see CMakeLists.txt), where the popup is a window of its own.

namespace {

class Form2ComboTest : public Form2WindowFixture {
protected:
    void TypeIntoCombo(const QString& text) {
        combo()->setFocus();
        combo()->clearEditText();
        TypeKeys(combo(), text);
        ASSERT_EQ(combo()->currentText(), text);
    }
    bool ListOpen() { return combo()->view()->isVisible(); }
    // The row highlighted in the list, -1 for none.
    int Highlighted() { return combo()->view()->currentIndex().row(); }
    // Keys go to the list while it is open, as the popup holds the keyboard.
    void KeyInList(Qt::Key key) { QTest::keyClick(combo()->view(), key); }
};

struct OpenWay {
    const char* name;
    std::function<void(QComboBox*)> open;
};

const OpenWay OpenWays[] = {
    {"Alt+Down", [](QComboBox* c) { QTest::keyClick(c, Qt::Key_Down, Qt::AltModifier); }},
    {"F4", [](QComboBox* c) { QTest::keyClick(c, Qt::Key_F4); }},
    {"a click on the arrow",
     [](QComboBox* c) {
         QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 4, c->height() / 2));
     }},
};

TEST_F(Form2ComboTest, OpeningTheListHighlightsTheItemTheTypedTextStarts) {
    struct Case {
        QString typed;
        int highlighted;
    };
    const Case cases[] = {{"", -1},      {"Fe", 1}, {"fe", 1},     {"m", 0},  {"MALE", 0},
                          {"Female", 1}, {"x", -1}, {"Males", -1}, {" M", -1}};
    for (const OpenWay& way : OpenWays) {
        for (const Case& typedCase : cases) {
            SCOPED_TRACE(std::string(way.name) + " on \"" + typedCase.typed.toStdString() + "\"");
            TypeIntoCombo(typedCase.typed);
            way.open(combo());
            ASSERT_TRUE(ListOpen());
            EXPECT_EQ(Highlighted(), typedCase.highlighted);
            EXPECT_EQ(combo()->currentText(), typedCase.typed) << "opening the list changed it";
            KeyInList(Qt::Key_Escape);
            EXPECT_FALSE(ListOpen());
            EXPECT_EQ(combo()->currentText(), typedCase.typed) << "Escape changed the text";
        }
    }
}

TEST_F(Form2ComboTest, ReturnPicksTheHighlightedItem) {
    struct Case {
        const char* what;
        QString typed;
        std::vector<Qt::Key> keysInList;
        QString result;
    };
    const Case cases[] = {
        {"Fe, Alt+Down, Return", "Fe", {}, "Female"},
        {"ma, Alt+Down, Return", "ma", {}, "Male"},
        {"empty, Alt+Down, Down, Return", "", {Qt::Key_Down}, "Male"},
        {"empty, Alt+Down, Down, Down, Return", "", {Qt::Key_Down, Qt::Key_Down}, "Female"},
        {"m, Alt+Down, Down, Return", "m", {Qt::Key_Down}, "Female"},
        {"x, Alt+Down, Return: nothing to pick, the list closes", "x", {}, "x"},
    };
    for (const Case& pick : cases) {
        SCOPED_TRACE(pick.what);
        TypeIntoCombo(pick.typed);
        QTest::keyClick(combo(), Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(ListOpen());
        for (const Qt::Key key : pick.keysInList)
            KeyInList(key);
        KeyInList(Qt::Key_Return);
        EXPECT_FALSE(ListOpen());
        EXPECT_EQ(combo()->currentText(), pick.result);
        EXPECT_EQ(combo()->count(), 2);
    }
}

TEST_F(Form2ComboTest, AfterAPickTheListFollowsWhatIsTypedNext) {
    TypeIntoCombo("F");
    QTest::keyClick(combo(), Qt::Key_Down, Qt::AltModifier);
    KeyInList(Qt::Key_Return);
    ASSERT_EQ(combo()->currentText(), QString("Female"));

    TypeIntoCombo("ma");
    QTest::keyClick(combo(), Qt::Key_F4);
    EXPECT_EQ(Highlighted(), 0);
    KeyInList(Qt::Key_Return);
    EXPECT_EQ(combo()->currentText(), QString("Male"));
}

TEST_F(Form2ComboTest, AClickOnAnItemPicksIt) {
    TypeIntoCombo("M");
    QTest::keyClick(combo(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(ListOpen());
    const QRect female = combo()->view()->visualRect(combo()->model()->index(1, 0));
    QTest::mouseClick(combo()->view()->viewport(), Qt::LeftButton, {}, female.center());
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(combo()->currentText(), QString("Female"));
}

// One notch of the wheel over the middle of the widget, delivered as the
// window system delivers it: to the widget under the pointer, which gives
// the focus to a widget that takes it from the wheel.
void TurnWheelOver(QWidget* widget, int notches) {
    QWidget* window = widget->window();
    const QPoint inWindow = widget->mapTo(window, widget->rect().center());
    QWidget* under = window->childAt(inWindow);
    ASSERT_NE(under, nullptr);
    const QPoint local = under->mapFrom(window, inWindow);
    QWheelEvent wheel(local, under->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(under, &wheel);
}

TEST_F(Form2ComboTest, TheWheelOverAComboWithoutTheFocusChangesNothingAndTakesNoFocus) {
    for (const QString typed : {"", "Fe", "Male"}) {
        SCOPED_TRACE(typed.toStdString());
        TypeIntoCombo(typed);
        edit("Text1")->setFocus();
        for (const int notches : {-1, -1, 1, -1})
            TurnWheelOver(combo(), notches);
        EXPECT_EQ(combo()->currentText(), typed);
        EXPECT_EQ(QApplication::focusWidget(), edit("Text1"));
    }
}

// With the focus, the wheel steps through the items as the arrow keys do.
TEST_F(Form2ComboTest, TheWheelOverTheFocusedComboStepsThroughTheItems) {
    TypeIntoCombo("");
    TurnWheelOver(combo(), -1);
    EXPECT_EQ(combo()->currentText(), QString("Male"));
    TurnWheelOver(combo(), -1);
    EXPECT_EQ(combo()->currentText(), QString("Female"));
}

} // namespace
