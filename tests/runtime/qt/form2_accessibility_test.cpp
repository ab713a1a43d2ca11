#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>

#include <functional>

#include "form2_window_fixture.h"

// What a screen reader learns of Form2 through the toolkit's accessibility
// interfaces, the same ones its desktop bridge (AT-SPI) reads: the window is
// a window named Form2, every input is named by its label and every button
// by its caption, and the sex combo keeps its label's name whatever it
// holds, so that a screen reader or a tool that finds controls by name never
// loses it.

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The names of the labels that label this object (its labelled-by relation).
QStringList LabelsOf(QAccessibleInterface* accessible) {
    QStringList labels;
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label))
        labels << label->text(QAccessible::Name);
    return labels;
}

using Form2AccessibilityTest = Form2WindowFixture;

TEST_F(Form2AccessibilityTest, TheFormIsAWindowNamedForm2) {
    QAccessibleInterface* form = Accessible(&window());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->role(), QAccessible::Window);
    EXPECT_EQ(form->text(QAccessible::Name), QString("Form2"));
    EXPECT_EQ(form->childCount(), 10) << "the window's controls are its children";
}

TEST_F(Form2AccessibilityTest, InputsAreNamedByTheirLabelsAndButtonsByTheirCaptions) {
    struct Named {
        const char* control;
        QAccessible::Role role;
        QString name;
        bool labelled;
    };
    const Named controls[] = {
        {"Text1", QAccessible::EditableText, "Фамилия,Имя", true},
        {"Text2", QAccessible::EditableText, "Год рождения", true},
        {"Combo1", QAccessible::ComboBox, "Пол", true},
        {"Text3", QAccessible::EditableText, "Рост", true},
        {"Command1", QAccessible::Button, "добавить", false},
        {"Command2", QAccessible::Button, "Найти", false},
    };
    for (const Named& named : controls) {
        SCOPED_TRACE(named.control);
        QAccessibleInterface* accessible = Accessible(window().findChild<QWidget*>(named.control));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), named.role);
        EXPECT_EQ(accessible->text(QAccessible::Name), named.name);
        if (named.labelled) {
            EXPECT_EQ(LabelsOf(accessible), QStringList{named.name});
        }
    }
}

TEST_F(Form2AccessibilityTest, TheComboKeepsItsLabelsNameWhateverItHolds) {
    struct Step {
        const char* what;
        std::function<void()> act;
        QString holds;
    };
    const Step steps[] = {
        {"empty", [] {}, ""},
        {"Male typed", [this] { TypeInto(combo(), "Male"); }, "Male"},
        {"other text typed",
         [this] {
             combo()->clearEditText();
             TypeKeys(combo(), "female");
         },
         "female"},
        {"Female picked from the list",
         [this] {
             QTest::keyClick(combo(), Qt::Key_Down, Qt::AltModifier);
             QTest::keyClick(combo()->view(), Qt::Key_Return);
         },
         "Female"},
        {"set by the program", [this] { combo()->setEditText("Male"); }, "Male"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        QAccessibleInterface* accessible = Accessible(combo());
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::ComboBox);
        EXPECT_EQ(accessible->text(QAccessible::Name), QString("Пол"));
        EXPECT_EQ(accessible->text(QAccessible::Value), step.holds);
        EXPECT_EQ(LabelsOf(accessible), QStringList{"Пол"});
        EXPECT_TRUE(accessible->state().editable);
        EXPECT_TRUE(accessible->state().expandable);
        // Its text, to read and to edit, is in its edit field, as before.
        QAccessibleInterface* field = Accessible(combo()->lineEdit());
        ASSERT_NE(field, nullptr);
        EXPECT_GE(accessible->indexOfChild(field), 0) << "the edit field is not its child";
        EXPECT_EQ(field->parent()->object(), combo());
        ASSERT_NE(field->textInterface(), nullptr);
        EXPECT_EQ(field->textInterface()->text(0, field->textInterface()->characterCount()),
                  step.holds);
    }
}

TEST_F(Form2AccessibilityTest, TheCombosListOpensFromItsAccessibleAction) {
    TypeInto(combo(), "Fe");
    QAccessibleInterface* accessible = Accessible(combo());
    ASSERT_NE(accessible->actionInterface(), nullptr);
    ASSERT_TRUE(accessible->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    EXPECT_FALSE(accessible->state().expanded);

    accessible->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());

    EXPECT_TRUE(combo()->view()->isVisible());
    EXPECT_TRUE(accessible->state().expanded);
    EXPECT_EQ(combo()->view()->currentIndex().row(), 1);
    QTest::keyClick(combo()->view(), Qt::Key_Escape);
}

} // namespace
