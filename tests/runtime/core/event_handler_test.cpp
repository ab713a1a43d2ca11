#include "runtime/core/event_handler.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>

namespace {

std::optional<RunTimeErrorNumber> Reported(const std::function<void()>& handler) {
    std::optional<RunTimeErrorNumber> reported;
    RunEventHandler(handler, [&](const RunTimeError& error) { reported = error.Number(); });
    return reported;
}

TEST(RunEventHandler, ReportsARunTimeErrorAndReturns) {
    // Called through a std::function, so the compiler cannot see that the
    // rest of the handler is never reached.
    const std::function<void()> raise = [] {
        RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange);
    };
    bool finished = false;
    const auto reported = Reported([&] {
        raise();
        finished = true;
    });
    EXPECT_EQ(reported, RunTimeErrorNumber::SubscriptOutOfRange);
    EXPECT_FALSE(finished);
}

TEST(RunEventHandler, ReportsRunningOutOfMemoryAsError7) {
    EXPECT_EQ(Reported([] { throw std::bad_alloc(); }), RunTimeErrorNumber::OutOfMemory);
}

TEST(RunEventHandler, ReportsNothingWhenTheHandlerSucceeds) {
    bool ran = false;
    EXPECT_EQ(Reported([&] { ran = true; }), std::nullopt);
    EXPECT_TRUE(ran);
}

TEST(RunTimeErrorMessage, NamesTheNumberAndItsMeaning) {
    EXPECT_EQ(RunTimeErrorMessage(RunTimeErrorNumber::SubscriptOutOfRange),
              u"Run-time error '9':\n\nSubscript out of range");
    EXPECT_EQ(RunTimeErrorMessage(RunTimeErrorNumber::Overflow),
              u"Run-time error '6':\n\nOverflow");
}

} // namespace
