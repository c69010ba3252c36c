// SIGTERM, SIGINT and SIGHUP become a byte for the event loop and leave the process alive;
// a signal ignored when the program started stays ignored.

#include <gtest/gtest.h>

#include <csignal>

#include "platform/termination_signals.h"

namespace corvane::test {
namespace {

sighandler_t HandlerOf(int signal) {
    struct sigaction now {};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

TEST(TerminationSignals, EachReachesTheLoopOnceUnlessIgnoredAtStart) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, SIG_DFL);  // whatever the test was started with
        std::unique_ptr<TerminationSignals> caught = TerminationSignals::Install();
        ASSERT_TRUE(caught);
        EXPECT_FALSE(TerminationSignals::Install()) << "one set per process";
        ::raise(signal);
        ::raise(SIGTERM);
        EXPECT_EQ(caught->Take(), signal) << "the first that came";
        EXPECT_EQ(caught->Take(), 0);
        caught.reset();
        EXPECT_EQ(HandlerOf(signal), SIG_DFL);
    }
    std::signal(SIGHUP, SIG_IGN);  // as under nohup
    std::unique_ptr<TerminationSignals> caught = TerminationSignals::Install();
    ::raise(SIGHUP);
    EXPECT_EQ(caught->Take(), 0);
    caught.reset();
    EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
}  // namespace corvane::test
