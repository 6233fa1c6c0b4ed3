#pragma once

#include <cstdint>
#include <vector>

#include "platform/Clock.h"

namespace vorlith {

// A clock that moves only when told to: Sleep advances it by the time asked for and
// remembers every sleep, so frame pacing can be checked without waiting.
class FakeClock : public Clock {
 public:
  explicit FakeClock(std::uint32_t start = 0) : now(start) {}

  std::uint32_t GetTicks() override { return now; }
  void Sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now += milliseconds;
  }

  std::uint32_t now;
  std::vector<std::uint32_t> sleeps;
};

}  // namespace vorlith
