#include "run_time_error.h"

#include <string>

const char* RunTimeError::what() const noexcept {
    switch (number_) {
    case RunTimeErrorNumber::Overflow: return "run-time error 6: Overflow";
    case RunTimeErrorNumber::OutOfMemory: return "run-time error 7: Out of memory";
    case RunTimeErrorNumber::SubscriptOutOfRange: return "run-time error 9: Subscript out of range";
    case RunTimeErrorNumber::ObjectRequired: return "run-time error 424: Object required";
    }
    return "run-time error";
}

void RaiseRunTimeError(RunTimeErrorNumber number) { throw RunTimeError(number); }

std::u16string RunTimeErrorMeaning(RunTimeErrorNumber number) {
    switch (number) {
    case RunTimeErrorNumber::Overflow: return u"Overflow";
    case RunTimeErrorNumber::OutOfMemory: return u"Out of memory";
    case RunTimeErrorNumber::SubscriptOutOfRange: return u"Subscript out of range";
    case RunTimeErrorNumber::ObjectRequired: return u"Object required";
    }
    return u"Application-defined or object-defined error";
}

std::u16string RunTimeErrorMessage(RunTimeErrorNumber number) {
    const std::string digits = std::to_string(static_cast<int>(number));
    return u"Run-time error '" + std::u16string(digits.begin(), digits.end()) + u"':\n\n" +
           RunTimeErrorMeaning(number);
}
