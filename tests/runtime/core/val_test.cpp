#include "runtime/core/val.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "tests/runtime/core/expect_run_time_error.h"

namespace {

struct ValCase {
    std::u16string text;
    double value;
};

const ValCase ValCases[] = {
    {u"175", 175.0},
    {u"  175  ", 175.0},
    {u"\t\n175", 175.0},
    {u"175.5", 175.5},
    {u"175,5", 175.0},
    {u"abc", 0.0},
    {u"", 0.0},
    {u"175cm", 175.0},
    {u"1 7 5", 175.0},
    {u"1 7 5 . 2 5", 175.25},
    {u"-12", -12.0},
    {u"+12", 12.0},
    {u"- 12", -12.0},
    {u"--5", 0.0},
    {u"+-5", 0.0},
    {u".5", 0.5},
    {u"-.5", -0.5},
    {u"5.", 5.0},
    {u".", 0.0},
    {u"+", 0.0},
    {u"-", 0.0},
    {u"1.2.3", 1.2},
    {u"1e3", 1000.0},
    {u"1E3", 1000.0},
    {u"1d3", 1000.0},
    {u"1D-3", 0.001},
    {u"2.5e+2", 250.0},
    {u"1 e 3", 1000.0},
    {u"5e", 5.0},
    {u"5e+", 5.0},
    {u"5ex", 5.0},
    {u"e5", 0.0},
    {u"&H10", 0.0},
    {u"1e-400", 0.0},
    {u"0.000", 0.0},
    {u"1.7976931348623157e308", std::numeric_limits<double>::max()},
    {u"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    {u"0.1", 0.1},
    {u"00000000000000000000000000000000000000000123", 123.0},
    {u"１２３", 0.0}, // full-width digits are not digits here
    {u"\u00A0"
     u"5",
     0.0}, // nor is a no-break space a blank
};

TEST(ValFromText, ConvertsTheLeadingNumber) {
    for (const ValCase& valCase : ValCases) {
        SCOPED_TRACE(std::string(valCase.text.begin(), valCase.text.end()));
        EXPECT_EQ(ValFromText(valCase.text), valCase.value);
    }
}

TEST(ValFromText, GivesTheCorrectlyRoundedDoubleWhateverTheSpelling) {
    const double expected = ValFromText(u"175.3");
    EXPECT_EQ(expected, 175.3);
    for (const char16_t* spelling : {u"175.30", u"1753e-1", u"0.01753e4", u"1 75.3"}) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ValFromText(spelling)),
                  std::bit_cast<std::uint64_t>(expected));
    }
}

TEST(ValFromText, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(ValFromText(u"-0")));
    EXPECT_TRUE(std::signbit(ValFromText(u"-1e-400")));
    EXPECT_FALSE(std::signbit(ValFromText(u"0")));
    EXPECT_EQ(ValFromText(u"-0"), ValFromText(u"0"));
}

TEST(ValFromText, RaisesOverflowBeyondTheDoubleRange) {
    for (const char16_t* text :
         {u"1e999", u"-1e999", u"1.8e308", u"0.001e99999999999999999999", u"123456789e301"}) {
        SCOPED_TRACE(std::u16string(text).size());
        ExpectRunTimeError(RunTimeErrorNumber::Overflow, [text] { (void)ValFromText(text); });
    }
}

#if !defined(_WIN32)
// The build provides the German locale (LOCPATH), whose decimal separator is
// a comma; the period must stay the only separator all the same.
TEST(ValFromText, IgnoresTheUsersLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the test locale is missing";
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');
    EXPECT_EQ(ValFromText(u"1.5"), 1.5);
    EXPECT_EQ(ValFromText(u"1,5"), 1.0);
    EXPECT_EQ(ValFromText(u"2.5e1"), 25.0);
    std::setlocale(LC_ALL, "C");
}
#endif

} // namespace
