#pragma once

#include "platform/Clock.h"

namespace vorlith {

// SDL's millisecond tick counter and delay.
class SdlClock : public Clock {
 public:
  std::uint32_t GetTicks() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace vorlith
