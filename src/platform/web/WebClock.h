#pragma once

#include "platform/Clock.h"

namespace vorlith {

// The page's millisecond clock. Sleep hands the browser back its thread for that long
// (the program is built with Asyncify); the main loop asks for no sleeps at all, since it
// runs a frame only when its time has come.
class WebClock : public Clock {
 public:
  std::uint32_t GetTicks() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace vorlith
