#include "register/person_table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/runtime/core/expect_run_time_error.h"

namespace {

std::u16string NameOf(int slot) {
    const std::string digits = std::to_string(slot);
    return u"Person " + std::u16string(digits.begin(), digits.end());
}

TEST(PersonTable, StartsEmptyAndFillsSlotsInOrder) {
    PersonTable table;
    EXPECT_EQ(table.PeopleCount(), 0);

    table.AddPerson(u"Иванов Иван", u"1980", u"Male", 180.5);
    table.AddPerson(u"Петрова Анна", u"1990", u"Female", 165.0);

    ASSERT_EQ(table.PeopleCount(), 2);
    const Person& first = table.People(0);
    EXPECT_EQ(first.FullName, u"Иванов Иван");
    EXPECT_EQ(first.BirthYear, u"1980");
    EXPECT_EQ(first.Sex, u"Male");
    EXPECT_EQ(first.Height, 180.5);
    EXPECT_EQ(table.People(1).FullName, u"Петрова Анна");
}

TEST(PersonTable, StoresEmptyAndDuplicatePeopleLikeAnyOther) {
    PersonTable table;
    table.AddPerson(u"", u"", u"", 0.0);
    table.AddPerson(u"Same", u"2000", u"Male", 170.0);
    table.AddPerson(u"Same", u"2000", u"Male", 170.0);

    ASSERT_EQ(table.PeopleCount(), 3);
    EXPECT_EQ(table.People(0).FullName, u"");
    EXPECT_EQ(table.People(0).Height, 0.0);
    EXPECT_EQ(table.People(1).FullName, table.People(2).FullName);
}

TEST(PersonTable, KeepsTextsExactlyAsGiven) {
    PersonTable table;
    const std::u16string untrimmed = u"  Smith,\tJohn  ";
    const std::u16string unpaired{u'A', char16_t{0xD800}, u'B'}; // a lone surrogate
    table.AddPerson(untrimmed, u" 19x9 ", unpaired, -0.0);

    EXPECT_EQ(table.People(0).FullName, untrimmed);
    EXPECT_EQ(table.People(0).BirthYear, u" 19x9 ");
    EXPECT_EQ(table.People(0).Sex, unpaired);
}

TEST(PersonTable, HoldsExactly1001PeopleAndRefusesTheNextUnchanged) {
    PersonTable table;
    for (int slot = 0; slot <= 1000; ++slot) {
        table.AddPerson(NameOf(slot), u"1970", u"Female", slot);
    }
    ASSERT_EQ(table.PeopleCount(), 1001);
    EXPECT_EQ(table.People(1000).FullName, NameOf(1000));

    ExpectRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange,
                       [&] { table.AddPerson(u"One too many", u"", u"Male", 1.0); });

    EXPECT_EQ(table.PeopleCount(), 1001);
    for (int slot = 0; slot <= 1000; ++slot) {
        const Person& person = table.People(static_cast<std::int16_t>(slot));
        ASSERT_EQ(person.FullName, NameOf(slot));
        ASSERT_EQ(person.Height, slot);
    }
}

TEST(PersonTable, ASlotNotFilledYetReadsAsAnEmptyPerson) {
    PersonTable table;
    table.AddPerson(u"Иванов Иван", u"1980", u"Male", 180.5);
    for (const std::int16_t index : {std::int16_t{1}, std::int16_t{17}, std::int16_t{1000}}) {
        SCOPED_TRACE(index);
        const Person& person = table.People(index);
        EXPECT_EQ(person.FullName, u"");
        EXPECT_EQ(person.BirthYear, u"");
        EXPECT_EQ(person.Sex, u"");
        EXPECT_EQ(person.Height, 0.0);
    }
    EXPECT_EQ(table.People(0).FullName, u"Иванов Иван");
}

TEST(PersonTable, ReadingOutsideTheTableRaisesError9) {
    const PersonTable table;
    for (const std::int16_t index : {std::int16_t{-1}, std::int16_t{1001}, std::int16_t{32767}}) {
        SCOPED_TRACE(index);
        ExpectRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange,
                           [&] { (void)table.People(index); });
    }
}

} // namespace
