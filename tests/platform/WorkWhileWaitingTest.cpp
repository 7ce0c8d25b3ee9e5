#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/WorkWhileWaiting.h"

namespace tarvex {
namespace {

// The waiting function keeps running while the work is under way: here the
// work cannot finish until the waiting side has been served three times.
TEST(WorkWhileWaiting, TheWaitingSideIsServedUntilTheWorkEnds) {
  std::atomic<int> served{0};
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id worker;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  const int result = runWhileWaiting(
      [&] {
        worker = std::this_thread::get_id();
        while (served < 3 && std::chrono::steady_clock::now() < deadline)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 42;
      },
      [&] {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        ++served;
      });
  EXPECT_EQ(result, 42);
  EXPECT_GE(served.load(), 3);
  EXPECT_NE(worker, caller);
}

TEST(WorkWhileWaiting, TheWorksExceptionReachesTheCaller) {
  int served = 0;
  EXPECT_THROW(
      runWhileWaiting([]() -> int { throw std::runtime_error("disk full"); }, [&] { ++served; }),
      std::runtime_error);
  EXPECT_GE(served, 1) << "served at once, before the work's end is known";
}

TEST(WorkWhileWaiting, WithoutAWaitingFunctionTheWorkRunsOnTheCallersThread) {
  std::thread::id worker;
  runWhileWaiting([&] { worker = std::this_thread::get_id(); }, {});
  EXPECT_EQ(worker, std::this_thread::get_id());
}

}  // namespace
}  // namespace tarvex
