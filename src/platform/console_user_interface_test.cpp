#include "platform/console_user_interface.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "platform/interrupt_watcher.h"

namespace pentrak {
namespace {

extern "C" void IgnoreSignal(int) {}

TEST(InterruptWatcherTest, FirstSignalIsAStopClickAndTheOldHandlerComesBack) {
  struct sigaction before {};
  before.sa_handler = IgnoreSignal;
  sigemptyset(&before.sa_mask);
  ASSERT_EQ(sigaction(SIGTERM, &before, nullptr), 0);
  {
    InterruptWatcher interrupts({SIGINT, SIGTERM});
    std::ostringstream out;
    std::istringstream in;
    ConsoleUserInterface ui(out, out, in, ConsoleAnswers{});
    EXPECT_FALSE(ui.ServiceEvents());
    ui.StopOn(interrupts);
    EXPECT_FALSE(ui.ServiceEvents());
    std::raise(SIGTERM);
    EXPECT_TRUE(interrupts.StopRequested());
    EXPECT_TRUE(ui.ServiceEvents());
    EXPECT_TRUE(ui.ServiceEvents());  // the request stays until the watcher ends
  }
  struct sigaction after {};
  ASSERT_EQ(sigaction(SIGTERM, nullptr, &after), 0);
  EXPECT_EQ(after.sa_handler, &IgnoreSignal);
  // The next watcher starts without a request.
  InterruptWatcher next;
  EXPECT_FALSE(next.StopRequested());
}

TEST(InterruptWatcherDeathTest, SecondSignalEndsTheProgramAtOnce) {
  EXPECT_EXIT(
      {
        InterruptWatcher interrupts;
        std::raise(SIGINT);
        if (!interrupts.StopRequested()) std::_Exit(3);
        std::raise(SIGINT);
        std::_Exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
}

}  // namespace
}  // namespace pentrak
