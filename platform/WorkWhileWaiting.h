#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <type_traits>
#include <utility>

namespace tarvex {

// Runs `work` on a thread of its own while the calling thread runs
// `whileWaiting` at once and then about every 15 ms until the work is done
// (the window pumps its event queue there, so slow file work never freezes
// it). Returns the work's result and rethrows its exception. Without a
// waiting function the work runs on the calling thread.
template <typename Work>
auto runWhileWaiting(Work&& work, const std::function<void()>& whileWaiting)
    -> std::invoke_result_t<Work> {
  if (!whileWaiting) return std::forward<Work>(work)();
  auto done = std::async(std::launch::async, std::forward<Work>(work));
  do {
    whileWaiting();
  } while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready);
  return done.get();
}

}  // namespace tarvex
