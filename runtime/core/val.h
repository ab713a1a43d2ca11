#pragma once

#include <string_view>

// Converts the number at the start of a text to a double, the way the Val
// function of the program's users' old tools did:
// - blanks (space, tab, line feed) are skipped before and inside the number;
// - an optional sign, then digits with at most one period as the decimal
//   separator (whatever the user's locale), then an optional exponent
//   (E or D, an optional sign, digits);
// - whatever follows the number is ignored, and a text that does not start
//   with a number gives 0;
// - the result is the correctly rounded double of the number read; one
//   beyond the double range raises run-time error 6 (overflow), and one too
//   small for it gives zero.
double ValFromText(std::u16string_view text);
