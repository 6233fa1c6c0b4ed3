#include "app/FramePacer.h"

#include "platform/Clock.h"

namespace vorlith {

int FramePacer::Pace() {
  std::uint32_t now = clock->GetTicks();
  if (!started) {
    last = now - 100;
    started = true;
  }
  // Signed difference of two wrapping counters. A counter that stepped back would ask for a
  // wait longer than one frame; no wait is ever longer than that.
  std::int64_t wait = static_cast<std::int32_t>(last - now);
  wait += kFrameMs;
  if (wait > kFrameMs) wait = kFrameMs;
  if (wait > 0) {
    clock->Sleep(static_cast<std::uint32_t>(wait));
    now = clock->GetTicks();
  }
  std::uint32_t elapsed = now - last;
  if (elapsed == 0) elapsed = 1;
  last = now;
  return static_cast<int>(1000u / elapsed);
}

std::int64_t FramePacer::GetWaitMs() const {
  if (!started) return 0;
  const std::int64_t wait = static_cast<std::int32_t>(last - clock->GetTicks()) + kFrameMs;
  return wait > kFrameMs ? kFrameMs : wait;
}

}  // namespace vorlith
