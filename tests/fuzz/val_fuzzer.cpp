// ValFromText against an oracle written apart from it: drop every blank,
// take the longest prefix that reads as a number, and let the C library's
// strtod convert it under the "C" locale. The two must give the same bits,
// and where strtod overflows ValFromText must raise run-time error 6.
//
// The number grammar, on the text without blanks:
//   [sign] (digits [. [digits]] | . digits) [(E|e|D|d) [sign] digits]
// A D exponent is read as E. Without a number at the start, the value is +0.

#include <bit>
#include <cerrno>
#include <clocale> // with glibc also newlocale and (in <cstdlib>) strtod_l
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "runtime/core/run_time_error.h"
#include "runtime/core/val.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string WithoutBlanks(std::u16string_view text) {
    std::u16string kept;
    for (const char16_t c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n') kept.push_back(c);
    }
    return kept;
}

// The number at the start of the text (blanks already dropped), as strtod
// reads it, or nothing when the text does not start with one.
std::optional<std::string> LeadingNumber(std::u16string_view text) {
    std::size_t pos = 0;
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : u'\0'; };
    const auto skipDigits = [&](std::size_t i) {
        while (IsDigit(at(i)))
            ++i;
        return i;
    };
    if (at(pos) == u'+' || at(pos) == u'-') ++pos;
    const std::size_t integerEnd = skipDigits(pos);
    std::size_t end = 0;
    if (integerEnd > pos) {
        end = integerEnd;
        if (at(end) == u'.') end = skipDigits(end + 1);
    } else if (at(pos) == u'.' && IsDigit(at(pos + 1))) {
        end = skipDigits(pos + 1);
    } else {
        return std::nullopt;
    }
    const char16_t mark = at(end);
    if (mark == u'E' || mark == u'e' || mark == u'D' || mark == u'd') {
        std::size_t exponent = end + 1;
        if (at(exponent) == u'+' || at(exponent) == u'-') ++exponent;
        const std::size_t exponentEnd = skipDigits(exponent);
        if (exponentEnd > exponent) end = exponentEnd;
    }
    std::string number;
    for (std::size_t i = 0; i < end; ++i) {
        const char16_t c = text[i];
        number.push_back(c == u'D' || c == u'd' ? 'E' : static_cast<char>(c));
    }
    return number;
}

struct OracleResult {
    double value;
    bool overflow;
};

OracleResult Oracle(std::u16string_view text) {
    const std::optional<std::string> number = LeadingNumber(WithoutBlanks(text));
    if (!number) return {0.0, false};
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    errno = 0;
    const double value = strtod_l(number->c_str(), nullptr, cLocale);
    return {value, errno == ERANGE && std::isinf(value)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string text = input.Rest();
    const OracleResult expected = Oracle(text);
    try {
        const double value = ValFromText(text);
        if (expected.overflow) FuzzFailure("ValFromText gave a value where strtod overflows");
        if (std::bit_cast<std::uint64_t>(value) != std::bit_cast<std::uint64_t>(expected.value)) {
            FuzzFailure("ValFromText and strtod differ");
        }
    } catch (const RunTimeError& error) {
        if (!expected.overflow) FuzzFailure("ValFromText raised an error where strtod does not");
        if (error.Number() != RunTimeErrorNumber::Overflow) FuzzFailure("overflow is not error 6");
    }
    return 0;
}
