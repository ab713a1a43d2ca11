#pragma once

#include <gtest/gtest.h>

#include "runtime/core/run_time_error.h"

// Runs the action and expects it to raise the run-time error with that number.
void ExpectRunTimeError(RunTimeErrorNumber expected, const auto& action) {
    try {
        action();
        ADD_FAILURE() << "no run-time error was raised";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number(), expected);
    }
}
