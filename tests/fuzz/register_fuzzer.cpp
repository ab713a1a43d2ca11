// The person table and the pair search against a model written straight
// from the program's description. The input decodes to a sequence of adds
// (any texts, any heights: signed zeros, subnormals, the largest doubles,
// infinities and NaNs) and searches. After every step the table must hold
// what the model holds; every search must report exactly the model's pairs,
// text for text and in the same order; and an add to a full table must raise
// error 9 and change nothing.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "register/pair_search.h"
#include "register/person_table.h"
#include "runtime/core/run_time_error.h"

// The model's own loops need no coverage feedback, and on a full table
// their instrumented comparisons would take most of the fuzzer's time.
#if defined(__clang__)
#define NOT_FUZZED __attribute__((no_sanitize("coverage"), noinline))
#else
#define NOT_FUZZED
#endif

namespace {

using namespace std::string_literals;

struct ModelPerson {
    std::u16string fullName;
    std::u16string birthYear;
    std::u16string sex;
    double height;
};

constexpr std::size_t TableSlots = 1001;
constexpr std::size_t CheckedReports = 1000;

// A search of a full table scans half a million pairs a pass; a few
// searches an input, between adds, are enough to find what more would.
constexpr int SearchesPerInput = 3;

// Thrown by the check's sink to end a search early.
struct EnoughReports {};

// Sex texts that sit next to the two words the search looks for.
// The Cyrillic Em of "\u041Cale" looks like a Latin M.
const std::array<std::u16string, 12> SexWords{
    u"Male"s,   u"Female"s, u"male"s,      u"Male "s, u"Female\u00A0"s, u""s,
    u"FEMALE"s, u"Femal"s,  u"\u041Cale"s, u" Male"s, u"Male\0"s,       u"Female\u0301"s,
};

constexpr double Max = std::numeric_limits<double>::max();
constexpr double Tiny = std::numeric_limits<double>::denorm_min();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

const std::array<double, 16> Heights{
    0.0,   -0.0,      Tiny,      -Tiny, 2 * Tiny, std::numeric_limits<double>::min(),
    Max,   -Max,      Inf,       -Inf,  NaN,      -NaN,
    180.0, 180.00001, 0.1 + 0.2, 0.3,
};

std::u16string ReadSex(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    if (choice < 2 * SexWords.size()) return SexWords[choice % SexWords.size()];
    return input.Text(choice % 8U);
}

// Mostly heights from the list, where equal pairs are likely; sometimes any
// bit pattern at all.
double ReadHeight(FuzzInput& input) {
    const std::uint8_t choice = input.Byte();
    if (choice < 0xF0) return Heights[choice % Heights.size()];
    return std::bit_cast<double>(input.Bits64());
}

// Exact equality of two texts, code unit by code unit. Spelled with memcmp
// so that the fuzzer traces one comparison, not one per character.
bool SameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

class RegisterCheck {
public:
    void Add(const ModelPerson& person) {
        const bool full = model_.size() == TableSlots;
        try {
            table_.AddPerson(person.fullName, person.birthYear, person.sex, person.height);
            if (full) FuzzFailure("the 1002nd add was taken");
            model_.push_back(person);
        } catch (const RunTimeError& error) {
            if (!full) FuzzFailure("an add to a table with room failed");
            if (error.Number() != RunTimeErrorNumber::SubscriptOutOfRange) {
                FuzzFailure("an add to a full table raised another error than 9");
            }
            // Nothing changed. The whole table is compared once per input
            // (and at its end); later refusals check the count.
            if (refusals_++ == 0) ExpectTableAsModel();
            if (static_cast<std::size_t>(table_.PeopleCount()) != TableSlots) {
                FuzzFailure("a refused add changed PeopleCount");
            }
        }
    }

    // Checks the search's reports against the model's, one by one as they
    // come. A search of a large group can give half a million reports; so
    // that such inputs do not slow the fuzzer to a crawl, the check stops
    // the search (as a sink may) after the first CheckedReports of them.
    void Search() const {
        const std::vector<ModelPair> expected = ModelPairs();
        std::size_t seen = 0;
        try {
            FindSameHeightPairs(table_, [&](std::u16string_view report) {
                if (seen >= expected.size())
                    FuzzFailure("the search reported more pairs than the model");
                if (!IsReportOf(report, expected[seen]))
                    FuzzFailure("a report differs from the model's");
                if (++seen == CheckedReports) throw EnoughReports();
            });
        } catch (const EnoughReports&) {
            return;
        }
        if (seen != expected.size()) FuzzFailure("the search reported fewer pairs than the model");
    }

    void ExpectTableAsModel() const {
        if (static_cast<std::size_t>(table_.PeopleCount()) != model_.size()) {
            FuzzFailure("PeopleCount differs from the model");
        }
        for (std::size_t i = 0; i < model_.size(); ++i) {
            const Person& person = table_.People(static_cast<std::int16_t>(i));
            const ModelPerson& kept = model_[i];
            if (!SameText(person.FullName, kept.fullName) ||
                !SameText(person.BirthYear, kept.birthYear) || !SameText(person.Sex, kept.sex) ||
                std::bit_cast<std::uint64_t>(person.Height) !=
                    std::bit_cast<std::uint64_t>(kept.height)) {
                FuzzFailure("a slot differs from the model");
            }
        }
    }

    std::size_t Count() const { return model_.size(); }
    const ModelPerson& Entered(std::size_t i) const { return model_[i]; }

private:
    struct ModelPair {
        std::u16string_view prefix;
        std::size_t i;
        std::size_t k;
    };

    // Every pair, straight from the description: the men's pass, then the
    // women's; i ascending, k from i + 1 ascending; a pair matches when both
    // Sex texts equal the pass's word exactly and the heights are equal
    // doubles. Whether a slot's Sex is the word is worked out once per slot:
    // the same answer the pairwise comparison gives, without a million text
    // comparisons on a full table.
    NOT_FUZZED std::vector<ModelPair> ModelPairs() const {
        const std::array<std::pair<std::u16string_view, std::u16string_view>, 2> passes{{
            {u"Male", u"Найдена пара мужчин: "},
            {u"Female", u"Найдена пара женщин: "},
        }};
        const std::size_t count = model_.size();
        std::vector<double> heights(count);
        for (std::size_t i = 0; i < count; ++i)
            heights[i] = model_[i].height;
        std::vector<char> isWord(count);
        std::vector<ModelPair> pairs;
        for (const auto& [word, prefix] : passes) {
            for (std::size_t i = 0; i < count; ++i)
                isWord[i] = static_cast<char>(model_[i].sex == word);
            for (std::size_t i = 0; i + 1 < count; ++i) {
                for (std::size_t k = i + 1; k < count; ++k) {
                    if (isWord[k] != 0 && isWord[i] != 0 && heights[i] == heights[k])
                        pairs.push_back({prefix, i, k});
                }
                // Enough to check the reports the search is let to give.
                if (pairs.size() > CheckedReports) return pairs;
            }
        }
        return pairs;
    }

    // Whether the report reads: prefix, name of i, three blanks, name of k.
    bool IsReportOf(std::u16string_view report, const ModelPair& pair) const {
        const std::u16string_view parts[] = {pair.prefix, model_[pair.i].fullName, u"   ",
                                             model_[pair.k].fullName};
        for (const std::u16string_view part : parts) {
            if (!SameText(report.substr(0, part.size()), part)) return false;
            report.remove_prefix(part.size());
        }
        return report.empty();
    }

    PersonTable table_;
    std::vector<ModelPerson> model_;
    int refusals_ = 0;
};

// "#" and the number. Appended rather than added with +, where g++ 12 at -O3
// warns of an overlap that cannot happen (-Wrestrict, a known false alarm).
std::u16string RunName(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::u16string name = u"#";
    name.append(digits.begin(), digits.end());
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    RegisterCheck check;
    int searches = 0;
    while (!input.Empty()) {
        const std::uint8_t step = input.Byte();
        switch (step % 4U) {
        case 0: { // one person, every field from the input
            std::u16string name = input.Text(input.Byte() % 16U);
            std::u16string year = input.Text(input.Byte() % 4U);
            std::u16string sex = ReadSex(input);
            check.Add({std::move(name), std::move(year), std::move(sex), ReadHeight(input)});
            break;
        }
        case 1:
            if (searches++ < SearchesPerInput) check.Search();
            break;
        case 2: { // a run of people, to reach a full table within a short input
            const std::size_t count = 1U + input.Byte();
            const std::u16string sex = ReadSex(input);
            const std::size_t period = 1U + input.Byte() % 8U;
            const std::size_t first = input.Byte();
            for (std::size_t i = 0; i < count; ++i) {
                check.Add({RunName(check.Count()), u"", sex,
                           Heights[(first + i % period) % Heights.size()]});
            }
            break;
        }
        default: // a copy of someone already in the table, maybe of another sex
            if (check.Count() > 0) {
                ModelPerson copy = check.Entered(input.Byte() % check.Count());
                if (input.Byte() % 2U == 1U) copy.sex = ReadSex(input);
                check.Add(copy);
            }
            break;
        }
    }
    check.ExpectTableAsModel();
    return 0;
}
