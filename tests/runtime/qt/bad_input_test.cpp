#include <QClipboard>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "form2_window_fixture.h"

// Bad and unusual input through the real widgets: whatever is typed or
// pasted is kept exactly, a height the program cannot hold gets a clear
// error box, and nothing already entered is lost.

namespace {

const QString Men = "Найдена пара мужчин: ";
const QString Women = "Найдена пара женщин: ";

QString FromUtf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

class BadInputTest : public Form2WindowFixture {
protected:
    // Pastes the text into the box with Ctrl+V, replacing what it held.
    void PasteInto(const char* name, const QString& text) {
        QApplication::clipboard()->setText(text);
        edit(name)->setFocus();
        edit(name)->selectAll();
        QTest::keyClick(edit(name), Qt::Key_V, Qt::ControlModifier);
    }
    // Adds a person whose name is pasted into Text1; the rest is typed.
    void AddWithPastedName(const QString& name, const QString& sex, const QString& height) {
        PasteInto("Text1", name);
        TypeInto(edit("Text2"), "1990");
        combo()->setFocus();
        combo()->clearEditText();
        TypeKeys(combo(), sex);
        TypeInto(edit("Text3"), height);
        const auto boxes = Click("Command1");
        ASSERT_EQ(boxes.size(), 1u);
        ASSERT_EQ(boxes[0].text, QString("Запись добавлена"));
    }
};

TEST_F(BadInputTest, AMillionCharacterNamePastedIntoText1ComesBackWhole) {
    const QString longName = QString("Иванов-Петров Иван ").repeated(52'632).left(1'000'000);
    ASSERT_EQ(longName.size(), 1'000'000);
    AddWithPastedName(longName, "Male", "180");
    EXPECT_EQ(table().People(0).FullName.size(), 1'000'000u);
    AddWithPastedName("Short", "Male", "180");

    const auto boxes = Click("Command2");

    ASSERT_EQ(boxes.size(), 1u);
    const QString expected = Men + longName + "   Short";
    EXPECT_TRUE(boxes[0].text == expected) << "the report lost or changed text";
    EXPECT_TRUE(boxes[0].shownText == expected) << "the user cannot read the whole report";
    // The box stays on the screen with its OK button in reach.
    EXPECT_TRUE(boxes[0].screen.contains(boxes[0].frame))
        << boxes[0].frame.width() << "x" << boxes[0].frame.height();
}

TEST_F(BadInputTest, AnyNameComesBackUnchangedInTheReport) {
    struct NameCase {
        const char* what;
        std::u16string name;
    };
    const NameCase names[] = {
        {"outside the Basic Multilingual Plane", u"\U0001D4D0\U0001D4F7\U0001D4F7\U0001D4EA 😀"},
        {"right to left", u"שרה כהן"},
        {"right to left mixed with left to right", u"محمد Ali 42"},
        {"combining marks, not composed", u"Zoe\u0308 Ame\u0301lie A\u030A\u0323"},
        {"control characters", u"A\u0001B\u0007C\u001B[31mD\u007F\u0085E"},
        {"format characters", u"\u200Fx\u200Dy\uFEFFz\u202Eabc"},
        {"a tab inside", u"Smith,\tJohn"},
    };
    for (const NameCase& nameCase : names) {
        SCOPED_TRACE(nameCase.what);
        AddWithPastedName(FromUtf16(nameCase.name), "Female", "160");
        AddWithPastedName("Partner", "Female", "160");
        ASSERT_EQ(table().People(static_cast<std::int16_t>(table().PeopleCount() - 2)).FullName,
                  nameCase.name);

        const auto boxes = Click("Command2");

        ASSERT_FALSE(boxes.empty());
        // Earlier cases' people pair up too; this case's pair is reported last.
        EXPECT_TRUE(boxes.back().text == Women + FromUtf16(nameCase.name) + "   Partner")
            << boxes.back().text.toStdString();
    }
}

TEST_F(BadInputTest, AFemaleFollowedByANoBreakSpaceIsNeverPaired) {
    AddWithPastedName("A", "Female\u00A0", "165");
    AddWithPastedName("B", "Female", "165");
    AddWithPastedName("C", "Female\u00A0", "165");
    AddWithPastedName("D", "Female", "165");
    EXPECT_EQ(table().People(0).Sex, u"Female\u00A0");

    const auto boxes = Click("Command2");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Women + "B   D");
}

TEST_F(BadInputTest, OddHeightsAreReadTheWayValReadsThem) {
    struct HeightCase {
        const char* typed;
        double stored;
    };
    const HeightCase heights[] = {
        {"-0", -0.0},
        {"0", 0.0},
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"--5", 0.0},
        {"5e", 5.0},
        {".", 0.0},
        {"+", 0.0},
        {"&H10", 0.0},
        {"1 7 5", 175.0},
        {"1 7 5 . 2 5", 175.25},
        {"- 1 2", -12.0},
        {"1 e 2", 100.0},
        {"180 cm", 180.0},
        {"1,80", 1.0},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const HeightCase& height : heights) {
        SCOPED_TRACE(height.typed);
        TypePerson("Name", "", "Male", height.typed);
        const auto boxes = Click("Command1");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QString("Запись добавлена"));
        const double stored =
            table().People(static_cast<std::int16_t>(table().PeopleCount() - 1)).Height;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(stored), std::bit_cast<std::uint64_t>(height.stored))
            << stored;
    }
}

// A pasted line break ends the input's text (see one_line_input_test.cpp).
TEST_F(BadInputTest, BlanksPastedInsideTheDigitsAreSkipped) {
    PasteInto("Text3", "1\t7 5 .\t5");
    EXPECT_EQ(edit("Text3")->text(), QString("1\t7 5 .\t5"));
    Click("Command1");
    ASSERT_EQ(table().PeopleCount(), 1);
    EXPECT_EQ(table().People(0).Height, 175.5);
}

TEST_F(BadInputTest, MinusZeroZeroAndAnUnderflowAreOneHeight) {
    AddWithPastedName("A", "Male", "-0");
    AddWithPastedName("B", "Male", "0");
    AddWithPastedName("C", "Male", "1e-400");
    EXPECT_TRUE(std::signbit(table().People(0).Height));

    const auto boxes = Click("Command2");

    std::vector<QString> texts;
    texts.reserve(boxes.size());
    for (const auto& box : boxes)
        texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<QString>{Men + "A   B", Men + "A   C", Men + "B   C"}));
}

TEST_F(BadInputTest, AHeightBeyondTheDoubleRangeIsRefusedAndTheProgramGoesOn) {
    AddWithPastedName("Kept", "Male", "180");
    for (const char* typed : {"1e999", "-1e999", "1.8e308", "1 e 3 0 9"}) {
        SCOPED_TRACE(typed);
        for (const char* name : {"Text1", "Text2", "Text3"})
            edit(name)->clear();
        TypePerson("Giant", "1900", "Male", typed);

        const auto boxes = Click("Command1");

        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QString("Run-time error '6':\n\nOverflow"));
        EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(window().isVisible());
        EXPECT_EQ(table().PeopleCount(), 1);
        EXPECT_EQ(edit("Text1")->text(), QString("Giant"));
        EXPECT_EQ(edit("Text3")->text(), QString(typed));
    }
    // The user corrects the height and goes on.
    edit("Text3")->clear();
    TypeInto(edit("Text3"), "180");
    EXPECT_EQ(Click("Command1").at(0).text, QString("Запись добавлена"));
    ASSERT_EQ(table().PeopleCount(), 2);
    EXPECT_EQ(Click("Command2").at(0).text, Men + "Kept   Giant");
}

} // namespace
