#include "runtime/core/event_handler.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <utility>
#include <vector>

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

TEST(RunEventHandler, IgnoresAClickThatComesWhileAHandlerRuns) {
    std::vector<const char*> ran;
    const auto ignore = [](const RunTimeError&) {};
    const bool outerRan = RunEventHandler(
        [&] {
            ran.push_back("outer");
            // A click arriving while the outer handler waits on a box.
            EXPECT_FALSE(RunEventHandler([&] { ran.push_back("inner"); }, ignore));
        },
        ignore);
    EXPECT_TRUE(outerRan);
    EXPECT_EQ(ran, std::vector<const char*>{"outer"});
    // Once it has ended, the next click runs.
    EXPECT_TRUE(RunEventHandler([&] { ran.push_back("next"); }, ignore));
    EXPECT_EQ(ran, (std::vector<const char*>{"outer", "next"}));
}

TEST(RunEventHandler, IgnoresAClickWhileTheErrorBoxIsOpen) {
    bool innerRan = false;
    RunEventHandler([] { RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange); },
                    [&](const RunTimeError&) {
                        RunEventHandler([&] { innerRan = true; }, [](const RunTimeError&) {});
                    });
    EXPECT_FALSE(innerRan);
    EXPECT_TRUE(RunEventHandler([] {}, [](const RunTimeError&) {}));
}

TEST(RunEventHandler, EndsQuietlyWhenTheFormIsGone) {
    struct Case {
        const char* what;
        std::function<void()> handler;
        int errorBoxes; // error boxes asked for; the form being gone, none opens
    };
    const std::vector<Case> cases{
        {"at a box", [] { throw FormGone(); }, 0},
        {"at the error box", [] { RaiseRunTimeError(RunTimeErrorNumber::Overflow); }, 1},
    };
    for (const Case& formGoes : cases) {
        SCOPED_TRACE(formGoes.what);
        int errorBoxes = 0;
        bool finished = false;
        EXPECT_TRUE(RunEventHandler(
            [&] {
                formGoes.handler();
                finished = true;
            },
            [&](const RunTimeError&) {
                ++errorBoxes;
                throw FormGone();
            }));
        EXPECT_FALSE(finished);
        EXPECT_EQ(errorBoxes, formGoes.errorBoxes);
        EXPECT_TRUE(RunEventHandler([] {}, [](const RunTimeError&) {})) << "the next click runs";
    }
}

TEST(RunTimeErrorMessage, NamesTheNumberAndItsMeaning) {
    EXPECT_EQ(RunTimeErrorMessage(RunTimeErrorNumber::SubscriptOutOfRange),
              u"Run-time error '9':\n\nSubscript out of range");
    EXPECT_EQ(RunTimeErrorMessage(RunTimeErrorNumber::Overflow),
              u"Run-time error '6':\n\nOverflow");
}

} // namespace
