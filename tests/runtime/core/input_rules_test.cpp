#include "runtime/core/input_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(InputRules, ArrivingTextKeepsItsFirstLineAndNoTextChangesNothing) {
    struct Case {
        std::optional<std::u16string_view> offered;
        std::optional<std::u16string_view> kept;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt}, // a picture, or no clipboard at all
        {u"", std::nullopt},          // an empty text
        {u"Ivan", u"Ivan"},
        {u"Ivan\r\nPetrov", u"Ivan"},
        {u"Ivan\nPetrov", u"Ivan"},
        {u"1980\rthe year", u"1980"},
        {u"\r\nsecond", u""}, // a text whose first line is empty
                              // replaces the selection
        {u"tab\there", u"tab\there"},
    };
    for (const Case& expected : cases) {
        const std::optional<std::u16string_view> kept = KeptOfArrivingText(expected.offered);
        EXPECT_EQ(kept, expected.kept) << testing::PrintToString(
            expected.offered ? std::u16string(*expected.offered) : u"<nothing>");
    }
}

TEST(InputRules, ReturnOrEnterClicksAFocusedButtonUnlessAltIsHeld) {
    struct Case {
        HeldModifiers held;
        bool clicks = false;
    };
    const Case cases[] = {
        {{}, true},
        {{.shift = true}, true},
        {{.control = true}, true},
        {{.shift = true, .control = true}, true},
        {{.alt = true}, false},
        {{.control = true, .alt = true}, false},
        {{.shift = true, .alt = true}, false},
    };
    for (const Case& expected : cases) {
        EXPECT_EQ(EnterClicksFocusedButton(expected.held), expected.clicks)
            << "shift " << expected.held.shift << " ctrl " << expected.held.control << " alt "
            << expected.held.alt;
    }
}

} // namespace
