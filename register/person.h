#pragma once

#include <string>

// One entered person. The texts are kept exactly as typed: nothing is
// trimmed, split or validated, and the year of birth is never read.
struct Person {
    std::u16string FullName;
    std::u16string BirthYear;
    std::u16string Sex;
    double Height = 0.0;
};
