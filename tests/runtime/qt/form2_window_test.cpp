#include <QGroupBox>
#include <QLabel>

#include "form2_window_fixture.h"

namespace {

using Form2WindowTest = Form2WindowFixture;

TEST_F(Form2WindowTest, StartsEmptyWithTheFocusInText1) {
    EXPECT_EQ(window().windowTitle(), QString("Form2"));
    EXPECT_EQ(window().size(), QSize(305, 277));
    for (const char* name : {"Text1", "Text2", "Text3"})
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    EXPECT_TRUE(combo()->currentText().isEmpty());
    EXPECT_EQ(combo()->currentIndex(), -1);
    ASSERT_EQ(combo()->count(), 2);
    EXPECT_EQ(combo()->itemText(0), QString("Male"));
    EXPECT_EQ(combo()->itemText(1), QString("Female"));
    EXPECT_TRUE(combo()->isEditable());
    EXPECT_EQ(QApplication::focusWidget(), edit("Text1"));
    EXPECT_EQ(table().PeopleCount(), 0);
}

TEST_F(Form2WindowTest, EveryControlStandsAtItsRectangleWithItsCaption) {
    struct Expected {
        const char* name;
        const char* container;
        QString caption;
        QRect pixels; // the description's twips divided by 15
    };
    const Expected controls[] = {
        {"Label1", "Form2", "Фамилия,Имя", {16, 16, 113, 17}},
        {"Text1", "Form2", "", {120, 16, 169, 25}},
        {"Label4", "Form2", "Год рождения", {16, 56, 105, 17}},
        {"Text2", "Form2", "", {120, 56, 169, 25}},
        {"Label3", "Form2", "Пол", {16, 96, 89, 17}},
        {"Combo1", "Form2", "", {120, 96, 169, 21}},
        {"Label2", "Form2", "Рост", {16, 136, 97, 17}},
        {"Text3", "Form2", "", {120, 136, 169, 25}},
        {"Command1", "Form2", "добавить", {136, 176, 153, 25}},
        {"Frame1", "Form2", "Поиск", {8, 216, 289, 57}},
        {"Label5", "Frame1", "Людей с одинаковым", {8, 16, 145, 17}},
        {"Label6", "Frame1", " ростом", {8, 32, 73, 17}},
        {"Command2", "Frame1", "Найти", {152, 16, 129, 33}},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.name);
        auto* widget = window().findChild<QWidget*>(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), expected.pixels);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString(expected.container));
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
        if (auto* pushButton = qobject_cast<QPushButton*>(widget)) caption = pushButton->text();
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) caption = frame->title();
        EXPECT_EQ(caption, expected.caption);
    }
}

TEST_F(Form2WindowTest, LabelsNameTheirInputs) {
    const std::pair<const char*, const char*> buddies[] = {
        {"Label1", "Text1"}, {"Label4", "Text2"}, {"Label3", "Combo1"}, {"Label2", "Text3"}};
    for (const auto& [label, input] : buddies) {
        EXPECT_EQ(Find<QLabel>(window(), label)->buddy(), window().findChild<QWidget*>(input))
            << label;
    }
}

TEST_F(Form2WindowTest, TabMovesThroughTheInputsAndButtonsInOrder) {
    const char* order[] = {"Text2", "Combo1", "Text3", "Command1", "Command2", "Text1"};
    for (const char* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        // An editable combo box keeps the focus in its own line edit.
        if (qobject_cast<QComboBox*>(focused->parentWidget()) != nullptr)
            focused = focused->parentWidget();
        EXPECT_EQ(focused->objectName(), QString(expected));
    }
}

TEST_F(Form2WindowTest, AddStoresTheTypedPersonAndConfirmsOnce) {
    TypePerson("Иванов Иван", "1980", "Male", "180.5");

    const auto boxes = Click("Command1");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QString("Запись добавлена"));
    EXPECT_EQ(boxes[0].title, QString("Same Height"));
    EXPECT_EQ(boxes[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes[0].buttonCount, 1);
    for (const char* name : {"Text1", "Text2", "Text3"})
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    EXPECT_EQ(combo()->currentText(), QString("Male"));
    ASSERT_EQ(table().PeopleCount(), 1);
    EXPECT_EQ(table().People(0).FullName, u"Иванов Иван");
    EXPECT_EQ(table().People(0).BirthYear, u"1980");
    EXPECT_EQ(table().People(0).Sex, u"Male");
    EXPECT_EQ(table().People(0).Height, 180.5);
}

TEST_F(Form2WindowTest, ComboKeepsTypedTextExactly) {
    for (const QString typed : {"male", "f", "FEMALE", "Ma"}) {
        combo()->setFocus();
        combo()->clearEditText();
        TypeKeys(combo(), typed);
        EXPECT_EQ(combo()->currentText(), typed);
        QTest::keyClick(combo(), Qt::Key_Tab); // leaving it matches nothing up either
        EXPECT_EQ(combo()->currentText(), typed);
        EXPECT_EQ(combo()->count(), 2);
    }
}

TEST_F(Form2WindowTest, PickingFromTheListGivesTheItem) {
    combo()->setFocus();
    QTest::keyClick(combo(), Qt::Key_Down);
    QTest::keyClick(combo(), Qt::Key_Down);
    EXPECT_EQ(combo()->currentText(), QString("Female"));
}

TEST_F(Form2WindowTest, EnterAndEscapeInAnInputDoNothing) {
    TypeInto(edit("Text1"), "Name");
    MessageBoxAnswerer answerer;
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Return, Qt::NoModifier},
                                                              {Qt::Key_Enter, Qt::KeypadModifier},
                                                              {Qt::Key_Escape, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
        for (const char* name : {"Text1", "Text2", "Text3"})
            QTest::keyClick(edit(name), key, modifiers);
        QTest::keyClick(combo(), key, modifiers);
    }
    HandleQueuedEvents();
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(table().PeopleCount(), 0);
    EXPECT_EQ(edit("Text1")->text(), QString("Name"));
    EXPECT_EQ(combo()->count(), 2);
}

TEST_F(Form2WindowTest, InputsTakeTextsOfAnyLength) {
    const QString longName(100'000, QChar(u'Ж'));
    edit("Text1")->setFocus();
    edit("Text1")->insert(longName); // as a paste does
    EXPECT_EQ(edit("Text1")->text().size(), longName.size());
    Click("Command1");
    EXPECT_EQ(table().People(0).FullName.size(), 100'000u);
}

TEST_F(Form2WindowTest, AFullTableReportsError9AndKeepsEverything) {
    for (int i = 0; i < 1001; ++i) {
        edit("Text1")->setText(QString("Person %1").arg(i));
        edit("Text3")->setText("170");
        combo()->setEditText("Male");
        Click("Command1");
    }
    ASSERT_EQ(table().PeopleCount(), 1001);

    TypePerson("One too many", "2001", "Female", "160");
    const auto boxes = Click("Command1");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QString("Run-time error '9':\n\nSubscript out of range"));
    EXPECT_EQ(boxes[0].title, QString("Same Height"));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(table().PeopleCount(), 1001);
    EXPECT_EQ(table().People(1000).FullName, u"Person 1000");
    EXPECT_EQ(edit("Text1")->text(), QString("One too many"));
    EXPECT_EQ(edit("Text2")->text(), QString("2001"));
    EXPECT_EQ(edit("Text3")->text(), QString("160"));
}

TEST_F(Form2WindowTest, AHeightBeyondTheDoubleRangeReportsError6AndStoresNothing) {
    TypePerson("Big", "1900", "Male", "1e999");
    const auto boxes = Click("Command1");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QString("Run-time error '6':\n\nOverflow"));
    EXPECT_EQ(table().PeopleCount(), 0);
    EXPECT_EQ(edit("Text3")->text(), QString("1e999"));
}

TEST_F(Form2WindowTest, FindShowsEachPairInItsOwnBoxMenFirst) {
    const QString people[][3] = {{"Мария", "Female", "165"}, {"Пётр", "Male", "180"},
                                 {"Анна", "Female", "165"},  {"Иван", "Male", "180"},
                                 {"Олег", "Male", "180"},    {"Лев", "male", "180"}};
    for (const auto& [name, sex, height] : people) {
        TypePerson(name, "1990", sex, height);
        Click("Command1");
    }
    const std::vector<QString> expected{
        "Найдена пара мужчин: Пётр   Иван", "Найдена пара мужчин: Пётр   Олег",
        "Найдена пара мужчин: Иван   Олег", "Найдена пара женщин: Мария   Анна"};
    for (int run = 0; run < 2; ++run) {
        const auto boxes = Click("Command2");
        std::vector<QString> texts;
        for (const auto& box : boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(box.modalBoxesOpen, 1)
                << "a box opened before the previous one was dismissed";
            EXPECT_EQ(box.icon, QMessageBox::NoIcon);
            EXPECT_EQ(box.textFormat, Qt::PlainText);
            EXPECT_EQ(box.shownText, box.text);
        }
        EXPECT_EQ(texts, expected) << "run " << run;
    }
    EXPECT_EQ(table().PeopleCount(), 6);
}

TEST_F(Form2WindowTest, FindShowsNothingWithoutPairs) {
    EXPECT_TRUE(Click("Command2").empty());
    TypePerson("Один", "1990", "Male", "180");
    Click("Command1");
    EXPECT_TRUE(Click("Command2").empty());
}

TEST_F(Form2WindowTest, NamesThatLookLikeMarkupAreShownAsTyped) {
    for (const QString name : {"<b>Bold</b>", "<i>x"}) {
        TypePerson(name, "", "Female", "150");
        Click("Command1");
    }
    const auto boxes = Click("Command2");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QString("Найдена пара женщин: <b>Bold</b>   <i>x"));
    EXPECT_EQ(boxes[0].textFormat, Qt::PlainText);
}

} // namespace
