#include "val.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "run_time_error.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSign(char16_t c) { return c == u'+' || c == u'-'; }
bool IsExponentMark(char16_t c) { return c == u'E' || c == u'e' || c == u'D' || c == u'd'; }

// Reads the text one character at a time, stepping over blanks.
class NumberScanner {
public:
    explicit NumberScanner(std::u16string_view text) : text_(text) {}

    char16_t Peek() {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : u'\0';
    }
    void Advance() { ++pos_; }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t position) { pos_ = position; }

private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

// The parts of the number found at the start of a text, in the plain form
// that std::from_chars reads.
struct GatheredNumber {
    bool negative = false;
    std::string digits;   // mantissa, with its period if any
    std::string exponent; // signed exponent digits, empty when absent
    bool hasMantissaDigit = false;
};

std::size_t AppendDigits(NumberScanner& scanner, std::string& out) {
    std::size_t count = 0;
    for (char16_t c = scanner.Peek(); IsDigit(c); c = scanner.Peek()) {
        out.push_back(static_cast<char>(c));
        scanner.Advance();
        ++count;
    }
    return count;
}

// An exponent counts only when digits follow its mark (and sign); otherwise
// the number ends before the mark.
void GatherExponent(NumberScanner& scanner, GatheredNumber& number) {
    const std::size_t start = scanner.Position();
    if (!IsExponentMark(scanner.Peek())) return;
    scanner.Advance();
    std::string exponent;
    if (const char16_t sign = scanner.Peek(); IsSign(sign)) {
        exponent.push_back(static_cast<char>(sign));
        scanner.Advance();
    }
    if (AppendDigits(scanner, exponent) == 0) {
        scanner.Rewind(start);
        return;
    }
    number.exponent = std::move(exponent);
}

GatheredNumber Gather(std::u16string_view text) {
    NumberScanner scanner(text);
    GatheredNumber number;
    if (const char16_t sign = scanner.Peek(); IsSign(sign)) {
        number.negative = sign == u'-';
        scanner.Advance();
    }
    std::size_t digitCount = AppendDigits(scanner, number.digits);
    if (scanner.Peek() == u'.') {
        scanner.Advance();
        number.digits.push_back('.');
        digitCount += AppendDigits(scanner, number.digits);
    }
    number.hasMantissaDigit = digitCount > 0;
    if (number.hasMantissaDigit) GatherExponent(scanner, number);
    return number;
}

// Whether a number that does not fit a double is too large (rather than too
// small): its first significant digit stands at or above the units place.
bool IsTooLarge(const GatheredNumber& number) {
    long long leadingPlace = 0;
    const std::size_t point = number.digits.find('.');
    const std::size_t integerDigits = point == std::string::npos ? number.digits.size() : point;
    const std::size_t firstSignificant = number.digits.find_first_of("123456789");
    if (firstSignificant == std::string::npos) return false;
    if (firstSignificant < integerDigits) {
        leadingPlace = static_cast<long long>(integerDigits - firstSignificant) - 1;
    } else {
        leadingPlace = -static_cast<long long>(firstSignificant - integerDigits);
    }
    // Only the exponent's sign and rough size matter here; clamp its digits.
    long long exponent = 0;
    bool exponentNegative = false;
    for (char c : number.exponent) {
        if (c == '-') exponentNegative = true;
        if (c >= '0' && c <= '9' && exponent < 1'000'000'000) exponent = exponent * 10 + (c - '0');
    }
    return leadingPlace + (exponentNegative ? -exponent : exponent) >= 0;
}

} // namespace

double ValFromText(std::u16string_view text) {
    const GatheredNumber number = Gather(text);
    if (!number.hasMantissaDigit) return 0.0;

    std::string plain = number.digits;
    if (!number.exponent.empty()) plain += 'e' + number.exponent;

    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        if (IsTooLarge(number)) RaiseRunTimeError(RunTimeErrorNumber::Overflow);
        magnitude = 0.0;
    }
    return number.negative ? -magnitude : magnitude;
}
