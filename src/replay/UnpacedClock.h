#pragma once

#include <memory>
#include <utility>

#include "platform/Clock.h"

namespace vorlith {

// A clock whose waits return at once: frames run as fast as they can, while the frame
// rate is still measured on the real ticks.
class UnpacedClock : public Clock {
 public:
  explicit UnpacedClock(std::unique_ptr<Clock> ticks) : ticks(std::move(ticks)) {}
  std::uint32_t GetTicks() override { return ticks->GetTicks(); }
  void Sleep(std::uint32_t) override {}

 private:
  std::unique_ptr<Clock> ticks;
};

}  // namespace vorlith
