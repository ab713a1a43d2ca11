#include "runtime/core/prompt_room.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PromptRoom, ALineNeverBreaksInsideALetter) {
    // 😀 is a surrogate pair; é here is e with a combining acute accent.
    const std::u16string text = u"a\U0001F600b"
                                u"e\u0301"
                                u"f\u200D\u0308g";
    struct Case {
        std::size_t place;
        bool mayBreak;
    };
    const Case cases[] = {
        {0, true},  {1, true},  {2, false}, // between the halves of 😀
        {3, true},  {4, true},  {5, false}, // before the combining accent
        {6, true},  {7, false},             // before the joiner
        {8, false},                         // before the combining diaeresis
        {9, true},  {10, true},
    };
    for (const Case& expected : cases)
        EXPECT_EQ(LineMayBreakAt(text, expected.place), expected.mayBreak) << expected.place;
}

TEST(PromptRoom, ABreakMovesBackToTheLettersStartOrForwardPastAWholeFirstLetter) {
    const std::u16string text = u"\U0001F600\U0001F600e\u0301\u0302x";
    struct Case {
        std::size_t asked;
        std::size_t given;
    };
    const Case cases[] = {
        {0, 2}, {1, 2}, // a line holds at least its first whole letter
        {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 4}, {7, 7}, {8, 8}, {99, 8},
    };
    for (const Case& expected : cases)
        EXPECT_EQ(LineBreakNear(text, expected.asked), expected.given) << expected.asked;
}

// A measuring function that records what it was asked and lets through the
// parts no longer than the room.
struct RecordingRoom {
    std::size_t room;
    std::vector<std::size_t> asked;
    bool operator()(std::u16string_view part) {
        asked.push_back(part.size());
        return part.size() <= room;
    }
};

TEST(PromptRoom, AFitIsDecidedFromStartsThatGrowFourfold) {
    struct Case {
        std::size_t length;
        std::size_t room;
        bool fits;
        std::vector<std::size_t> asked;
    };
    const Case cases[] = {
        {10, 100, true, {10}},
        {10, 5, false, {10}},
        {5000, 10000, true, {4096, 5000}},
        {1'000'000, 2000, false, {4096}},
        {1'000'000, 50'000, false, {4096, 16384, 65536}},
        {1'000'000, 1'000'000, true, {4096, 16384, 65536, 262144, 1'000'000}},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.length);
        const std::u16string text(expected.length, u'x');
        RecordingRoom room{expected.room, {}};
        EXPECT_EQ(PromptFitsInRoom(text, std::ref(room)), expected.fits);
        EXPECT_EQ(room.asked, expected.asked);
    }
}

TEST(PromptRoom, NoMeasuredStartEndsInsideALetter) {
    std::u16string text(4095, u'x');
    text += u"\U0001F600";
    text += std::u16string(10000, u'y');
    RecordingRoom room{1'000'000, {}};
    EXPECT_TRUE(PromptFitsInRoom(text, std::ref(room)));
    EXPECT_EQ(room.asked.front(), 4095U);
}

} // namespace
