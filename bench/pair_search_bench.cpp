// The pair search on a full table, next to its floor: a bare loop doing the
// same 500,500 height comparisons over a plain array of doubles.
//
//   build/rel/bench/pair_search_bench
//
// A full table has 1001 people, so one pass over it compares 1001 * 1000 / 2
// = 500,500 pairs. Every benchmark reports that as its item count, so the
// items_per_second columns compare directly.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "register/pair_search.h"

namespace {

constexpr int FullTable = PersonTable::LastSlot - PersonTable::FirstSlot + 1;
constexpr std::int64_t PairsInFullTable = std::int64_t{FullTable} * (FullTable - 1) / 2;

// A name of 30 characters, different for every index.
std::u16string NameOf(int index) {
    std::u16string name = u"Иванов-Петров Александр ";
    for (int digit = 0; digit < 6; ++digit, index /= 10)
        name += static_cast<char16_t>(u'0' + index % 10);
    return name;
}

// Every height differs: the search compares all 500,500 pairs of men and
// finds none.
std::vector<double> DistinctHeights() {
    std::vector<double> heights(FullTable);
    for (int i = 0; i < FullTable; ++i)
        heights[static_cast<std::size_t>(i)] = 150.0 + i * 0.05;
    return heights;
}

PersonTable MenOfHeights(const std::vector<double>& heights) {
    PersonTable table;
    for (std::size_t i = 0; i < heights.size(); ++i)
        table.AddPerson(NameOf(static_cast<int>(i)), u"1990", u"Male", heights[i]);
    return table;
}

// What a person might type: mostly the two words, sometimes another spelling,
// and heights in whole or half centimetres around 170, so that many people
// share a height.
PersonTable RealisticMix() {
    std::mt19937 random(2024);
    const std::array<std::u16string_view, 4> sexes{u"Male", u"Female", u"male", u"Муж"};
    std::discrete_distribution<int> sexOf({48, 46, 3, 3});
    std::normal_distribution<double> centimetres(170.0, 9.0);
    PersonTable table;
    for (int i = 0; i < FullTable; ++i) {
        const double height = static_cast<double>(static_cast<int>(centimetres(random) * 2)) / 2;
        table.AddPerson(NameOf(i), u"1990", sexes[static_cast<std::size_t>(sexOf(random))], height);
    }
    return table;
}

// Each report is read, as showing it would: its length and last code unit
// feed a sum the compiler must keep.
void SearchTable(benchmark::State& state, const PersonTable& table) {
    std::int64_t reports = 0;
    std::size_t codeUnits = 0;
    const PairReportSink consume = [&](std::u16string_view report) {
        ++reports;
        codeUnits += report.size() + report.back();
    };
    for (auto _ : state) {
        FindSameHeightPairs(table, consume);
        benchmark::DoNotOptimize(codeUnits);
    }
    state.SetItemsProcessed(state.iterations() * PairsInFullTable);
    state.counters["reports"] =
        benchmark::Counter(static_cast<double>(reports) / static_cast<double>(state.iterations()));
}

void BM_Search_FullTableNoPair(benchmark::State& state) {
    SearchTable(state, MenOfHeights(DistinctHeights()));
}

// 1001 men of 180: all 500,500 reports are built and consumed.
void BM_Search_FullTableOneSexOneHeight(benchmark::State& state) {
    SearchTable(state, MenOfHeights(std::vector<double>(FullTable, 180.0)));
}

void BM_Search_FullTableRealisticMix(benchmark::State& state) {
    SearchTable(state, RealisticMix());
}

// The floor: one comparison of doubles per pair, added to a count without a
// branch, so that no taken jump per pair slows it down. Vectorisation is
// turned off because the search cannot vectorise its scan (a match leaves it
// to build a report), and a SIMD count of equal pairs would be a floor no
// search could reach.
#if defined(__clang__)
#define SCALAR_LOOPS // clang builds only check that the benchmark compiles
#else
#define SCALAR_LOOPS gnu::optimize("no-tree-vectorize")
#endif
[[gnu::noinline, SCALAR_LOOPS]] std::int64_t CountEqualPairs(const double* heights,
                                                             std::size_t count) {
    std::int64_t equal = 0;
    for (std::size_t i = 0; i + 1 < count; ++i)
        for (std::size_t k = i + 1; k < count; ++k)
            equal += heights[i] == heights[k] ? 1 : 0;
    return equal;
}

void BM_Floor_HeightComparisons(benchmark::State& state) {
    std::vector<double> heights = DistinctHeights();
    std::int64_t equal = 0;
    for (auto _ : state) {
        // The array may have changed as far as the compiler knows, so the
        // count is worked out afresh every time.
        benchmark::DoNotOptimize(heights.data());
        benchmark::ClobberMemory();
        equal = CountEqualPairs(heights.data(), heights.size());
        benchmark::DoNotOptimize(equal);
    }
    state.SetItemsProcessed(state.iterations() * PairsInFullTable);
    // Named as the search's counter, so that every row has the same columns.
    state.counters["reports"] = benchmark::Counter(static_cast<double>(equal));
}

} // namespace

BENCHMARK(BM_Floor_HeightComparisons);
BENCHMARK(BM_Search_FullTableNoPair);
BENCHMARK(BM_Search_FullTableOneSexOneHeight);
BENCHMARK(BM_Search_FullTableRealisticMix);

BENCHMARK_MAIN();
