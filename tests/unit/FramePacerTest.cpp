#include <gtest/gtest.h>

#include "FakeClock.h"
#include "app/FramePacer.h"

namespace vorlith {
namespace {

using Sleeps = std::vector<std::uint32_t>;

TEST(FramePacerTest, WaitsOutSixteenMillisecondsAndCountsTheRate) {
  FakeClock clock(0xFFFFFFD0u);  // the tick counter wraps during the run
  FramePacer pacer(&clock);
  EXPECT_EQ(pacer.Pace(), 10);  // the first frame counts as 100 ms and does not wait
  EXPECT_EQ(clock.sleeps, Sleeps{});
  const struct {
    std::uint32_t work;
    Sleeps sleeps;
    int fps;  // -1: not checked
  } frames[] = {
      {5, {11}, 62}, {16, {}, 62},
      {40, {}, 25},                                                    // past the wrap
      {0, {16}, 62}, {static_cast<std::uint32_t>(-100000), {16}, -1},  // a clock stepping back
  };
  for (const auto& frame : frames) {
    clock.sleeps.clear();
    clock.now += frame.work;
    const int fps = pacer.Pace();
    EXPECT_TRUE(frame.fps < 0 || fps == frame.fps) << frame.work << ": " << fps;
    EXPECT_EQ(clock.sleeps, frame.sleeps) << frame.work;
  }
}

// A clock that does not move while sleeping: the frame then measures 0 ms.
struct FrozenClock : FakeClock {
  void Sleep(std::uint32_t) override {}
};

// A loop that may not block asks first: whenever the wait is over, Pace does not sleep. A
// frame that took no time does not divide by zero.
TEST(FramePacerTest, TheWaitAskedBeforehandIsTheSleepPaceWouldTake) {
  FakeClock clock(0xFFFFFFF8u);
  FramePacer pacer(&clock);
  EXPECT_EQ(pacer.GetWaitMs(), 0);
  pacer.Pace();
  const struct {
    std::uint32_t work;
    std::int64_t wait;
  } steps[] = {{0, 16}, {5, 11}, {11, 0}, {30, -14}, {static_cast<std::uint32_t>(-100), 16}};
  for (const auto& step : steps) {
    clock.now += step.work;
    EXPECT_EQ(pacer.GetWaitMs(), step.wait) << step.work;
    if (step.wait > 0) continue;
    clock.sleeps.clear();
    pacer.Pace();
    EXPECT_EQ(clock.sleeps, Sleeps{}) << step.work;
  }
  FrozenClock frozen;
  FramePacer still(&frozen);
  still.Pace();
  EXPECT_EQ(still.Pace(), 1000);  // a frame of 0 ms counts as 1 ms
}

}  // namespace
}  // namespace vorlith
