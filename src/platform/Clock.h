#pragma once

#include <cstdint>

namespace vorlith {

// Millisecond tick counter and sleep, used only by frame pacing.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t GetTicks() = 0;  // wraps like a 32-bit millisecond counter
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace vorlith
