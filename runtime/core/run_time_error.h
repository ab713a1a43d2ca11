#pragma once

#include <exception>
#include <string>

// Run-time errors carry a number, as the program's users know them.
enum class RunTimeErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    ObjectRequired = 424,
};

class RunTimeError : public std::exception {
public:
    explicit RunTimeError(RunTimeErrorNumber number) : number_(number) {}

    RunTimeErrorNumber Number() const { return number_; }
    const char* what() const noexcept override;

private:
    RunTimeErrorNumber number_;
};

[[noreturn]] void RaiseRunTimeError(RunTimeErrorNumber number);

// The error's standard meaning, such as "Subscript out of range".
std::u16string RunTimeErrorMeaning(RunTimeErrorNumber number);

// The text of the error box: the number and its meaning.
std::u16string RunTimeErrorMessage(RunTimeErrorNumber number);
