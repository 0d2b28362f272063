#include "platform/patience.h"

#include <chrono>
#include <thread>

namespace velmar::platform {
namespace {

using Clock = std::chrono::steady_clock;

// About four seconds in all: enough for a scanner or an indexer to let go of a new file, short
// enough that a user does not take the program for hung.
constexpr auto kBudget = std::chrono::milliseconds(4000);

}  // namespace

bool waitBeforeRetrying() {
  static Clock::duration waited{};
  static auto pause = std::chrono::milliseconds(10);
  if (waited >= kBudget) return false;
  const auto started = Clock::now();
  std::this_thread::sleep_for(pause);
  waited += Clock::now() - started;
  if (pause < std::chrono::milliseconds(500)) pause *= 2;
  return true;
}

}  // namespace velmar::platform
