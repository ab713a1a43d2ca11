#include "pair_search.h"

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace {

struct SearchPass {
    std::u16string_view sexWord;
    std::u16string_view reportPrefix;
};

constexpr std::array<SearchPass, 2> Passes{{
    {u"Male", u"Найдена пара мужчин: "},
    {u"Female", u"Найдена пара женщин: "},
}};

constexpr std::u16string_view NameSeparator = u"   ";

// The heights of the filled slots for one pass, with NaN for everyone whose
// Sex is not the pass's word. NaN equals nothing, itself included, so the
// inner loop needs a single comparison of doubles per pair.
std::vector<double> HeightsOfSex(const PersonTable& table, std::u16string_view sexWord) {
    std::vector<double> heights(static_cast<std::size_t>(table.PeopleCount()));
    for (std::int16_t i = 0; i < table.PeopleCount(); ++i) {
        const Person& person = table.People(i);
        heights[static_cast<std::size_t>(i)] =
            person.Sex == sexWord ? person.Height : std::numeric_limits<double>::quiet_NaN();
    }
    return heights;
}

// The first index from `from` on whose height equals `height`, or the end
// of the heights when there is none. Nearly all of a search's time is spent
// here; kept apart from the building of reports, the compiler keeps this
// loop's values in registers instead of reloading them for every pair.
std::size_t NextEqualHeight(const std::vector<double>& heights, std::size_t from, double height) {
    const double* const all = heights.data();
    const std::size_t count = heights.size();
    while (from < count && all[from] != height)
        ++from;
    return from;
}

// Every report of the first person i shares its head: the prefix, the
// FullName of i and the separator. It is written once per i, and each report
// only replaces the second name after it.
void ReportPairsOf(const PersonTable& table, const SearchPass& pass, std::size_t i,
                   const std::vector<double>& heights, std::size_t firstMatch,
                   std::u16string& report, const PairReportSink& sink) {
    report.assign(pass.reportPrefix);
    report += table.People(static_cast<std::int16_t>(i)).FullName;
    report += NameSeparator;
    const std::size_t headLength = report.size();
    const double height = heights[i];
    for (std::size_t k = firstMatch; k < heights.size();
         k = NextEqualHeight(heights, k + 1, height)) {
        report.resize(headLength);
        report += table.People(static_cast<std::int16_t>(k)).FullName;
        sink(report);
    }
}

void RunPass(const PersonTable& table, const SearchPass& pass, std::u16string& report,
             const PairReportSink& sink) {
    const std::vector<double> heights = HeightsOfSex(table, pass.sexWord);
    const std::size_t count = heights.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const double height = heights[i];
        if (height != height) continue; // not of this pass's sex
        const std::size_t firstMatch = NextEqualHeight(heights, i + 1, height);
        if (firstMatch < count) ReportPairsOf(table, pass, i, heights, firstMatch, report, sink);
    }
}

} // namespace

void FindSameHeightPairs(const PersonTable& table, const PairReportSink& sink) {
    std::u16string report; // reused, so a long run of reports allocates once
    for (const SearchPass& pass : Passes)
        RunPass(table, pass, report, sink);
}
