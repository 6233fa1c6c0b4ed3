#pragma once

#include <cstdint>

namespace vorlith {

class Clock;

// Keeps the game to at most one frame per 16 ms of the tick counter and measures the
// frame rate from the length of the last frame.
class FramePacer {
 public:
  static constexpr std::int32_t kFrameMs = 16;

  explicit FramePacer(Clock* clock) : clock(clock) {}

  // Waits until a frame's time has passed since the previous call and returns the frames
  // per second of the frame just ended. The first call counts a frame of 100 ms (10 fps).
  // A frame measured as 0 ms counts as 1 ms.
  int Pace();
  // Milliseconds Pace would wait if called now; 0 or less when a frame's time has passed.
  std::int64_t GetWaitMs() const;

 private:
  Clock* clock;
  bool started = false;
  std::uint32_t last = 0;
};

}  // namespace vorlith
