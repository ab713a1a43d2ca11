#include "register/pair_search.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::u16string name;
    std::u16string sex;
    double height;
};

struct SearchCase {
    const char* what;
    std::vector<Entry> people;
    std::vector<std::u16string> reports;
};

std::vector<std::u16string> Search(const std::vector<Entry>& people) {
    PersonTable table;
    for (const Entry& entry : people)
        table.AddPerson(entry.name, u"1999", entry.sex, entry.height);
    std::vector<std::u16string> reports;
    FindSameHeightPairs(table, [&](std::u16string_view report) { reports.emplace_back(report); });
    return reports;
}

const std::u16string Men = u"Найдена пара мужчин: ";
const std::u16string Women = u"Найдена пара женщин: ";

const std::vector<SearchCase> SearchCases = {
    {"an empty table reports nothing", {}, {}},
    {"one person reports nothing", {{u"A", u"Male", 180}}, {}},
    {"men's pairs come before women's",
     {{u"W1", u"Female", 180},
      {u"M1", u"Male", 180},
      {u"W2", u"Female", 180},
      {u"M2", u"Male", 180}},
     {Men + u"M1   M2", Women + u"W1   W2"}},
    {"a man and a woman of equal height are no pair",
     {{u"M", u"Male", 170}, {u"W", u"Female", 170}},
     {}},
    {"180 and 180.0 are equal, 180.5 is not",
     {{u"A", u"Male", 180}, {u"B", u"Male", 180.0}, {u"C", u"Male", 180.5}},
     {Men + u"A   B"}},
    {"heights must be exactly equal", {{u"A", u"Male", 0.1 + 0.2}, {u"B", u"Male", 0.3}}, {}},
    {"three of a height give three pairs, by first then second index",
     {{u"P0", u"Male", 175}, {u"P1", u"Male", 175}, {u"P2", u"Male", 175}},
     {Men + u"P0   P1", Men + u"P0   P2", Men + u"P1   P2"}},
    {"pairs are ordered by first index across heights",
     {{u"A", u"Male", 170}, {u"B", u"Male", 180}, {u"C", u"Male", 170}, {u"D", u"Male", 180}},
     {Men + u"A   C", Men + u"B   D"}},
    {"the sex word must match exactly",
     {{u"a", u"male", 180},
      {u"b", u"male", 180},
      {u"c", u"MALE", 180},
      {u"d", u"MALE", 180},
      {u"e", u"Male ", 180},
      {u"f", u"Male ", 180},
      {u"g", u" Female", 160},
      {u"h", u" Female", 160}},
     {}},
    {"only exact words pair, mixed with near misses",
     {{u"a", u"male", 180}, {u"b", u"Male", 180}, {u"c", u"Male ", 180}, {u"d", u"Male", 180}},
     {Men + u"b   d"}},
    {"people of another or no sex are never paired",
     {{u"a", u"", 150}, {u"b", u"", 150}, {u"c", u"Other", 150}, {u"d", u"Other", 150}},
     {}},
    {"empty names are reported as they are",
     {{u"", u"Female", 160}, {u"Анна", u"Female", 160}},
     {Women + u"   Анна"}},
    {"zero and minus zero are equal heights",
     {{u"A", u"Male", 0.0}, {u"B", u"Male", -0.0}},
     {Men + u"A   B"}},
};

TEST(FindSameHeightPairs, ReportsEveryPairInOrder) {
    for (const SearchCase& searchCase : SearchCases) {
        SCOPED_TRACE(searchCase.what);
        EXPECT_EQ(Search(searchCase.people), searchCase.reports);
    }
}

TEST(FindSameHeightPairs, AGroupOfNGivesAllItsPairs) {
    std::vector<Entry> people(40, Entry{u"x", u"Female", 158.5});
    EXPECT_EQ(Search(people).size(), 40u * 39u / 2u);
}

TEST(FindSameHeightPairs, HandsOverEachReportBeforeSearchingOn) {
    // A sink that stops the search at the first report must see only that
    // report: the search never builds a list first.
    PersonTable table;
    for (int i = 0; i < 5; ++i)
        table.AddPerson(u"M", u"", u"Male", 170);
    int seen = 0;
    EXPECT_THROW(FindSameHeightPairs(table,
                                     [&](std::u16string_view) {
                                         ++seen;
                                         throw std::runtime_error("stop");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(seen, 1);
}

TEST(FindSameHeightPairs, LeavesTheTableAsItWas) {
    PersonTable table;
    table.AddPerson(u"A", u"1", u"Male", 180);
    table.AddPerson(u"B", u"2", u"Male", 180);
    std::vector<std::u16string> first;
    std::vector<std::u16string> second;
    FindSameHeightPairs(table, [&](std::u16string_view r) { first.emplace_back(r); });
    FindSameHeightPairs(table, [&](std::u16string_view r) { second.emplace_back(r); });
    EXPECT_EQ(first, second);
    EXPECT_EQ(table.PeopleCount(), 2);
    EXPECT_EQ(table.People(1).FullName, u"B");
}

} // namespace
