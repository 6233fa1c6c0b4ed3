#include <gtest/gtest.h>

#include <algorithm>

#include "app/FramePacer.h"
#include "platform/FakeClock.h"

namespace vorlith {
namespace {

TEST(FramePacerTest, FirstCallDoesNotSleepAndCountsTenFramesPerSecond) {
  FakeClock clock(5000);
  FramePacer pacer(&clock);
  EXPECT_EQ(pacer.Pace(), 10);
  EXPECT_TRUE(clock.GetSleeps().empty());
}

TEST(FramePacerTest, ShortFramesSleepUpToSixteenMilliseconds) {
  FakeClock clock(1000);
  FramePacer pacer(&clock);
  pacer.Pace();
  clock.Advance(5);
  EXPECT_EQ(pacer.Pace(), 1000 / 16);
  ASSERT_EQ(clock.GetSleeps().size(), 1u);
  EXPECT_EQ(clock.GetSleeps()[0], 11u);

  clock.ClearSleeps();
  clock.Advance(16);
  EXPECT_EQ(pacer.Pace(), 62);
  clock.Advance(40);
  EXPECT_EQ(pacer.Pace(), 25);
  EXPECT_TRUE(clock.GetSleeps().empty());
}

// A clock that does not move while sleeping: the frame then measures 0 ms.
class FrozenClock : public Clock {
 public:
  std::uint32_t GetTicks() override { return now; }
  void Sleep(std::uint32_t milliseconds) override {
    ++sleeps;
    longest = std::max(longest, milliseconds);
  }
  std::uint32_t now = 0;
  int sleeps = 0;
  std::uint32_t longest = 0;
};

TEST(FramePacerTest, AZeroLengthFrameDoesNotDivideByZero) {
  FrozenClock clock;
  FramePacer pacer(&clock);
  pacer.Pace();
  clock.now += 100;  // the next call measures from here
  pacer.Pace();
  EXPECT_EQ(pacer.Pace(), 1000);  // 0 ms counts as 1 ms
  EXPECT_EQ(clock.sleeps, 1);
}

TEST(FramePacerTest, WorksAcrossTheTickCounterWrap) {
  FakeClock clock(0xFFFFFFF0u);
  FramePacer pacer(&clock);
  pacer.Pace();
  clock.Advance(20);  // wraps past zero
  EXPECT_EQ(pacer.Pace(), 50);
  EXPECT_TRUE(clock.GetSleeps().empty());
}

TEST(FramePacerTest, AClockThatStepsBackNeverSleepsLongerThanAFrame) {
  FrozenClock clock;
  clock.now = 100000;
  FramePacer pacer(&clock);
  pacer.Pace();
  clock.now = 50;
  pacer.Pace();
  EXPECT_EQ(clock.sleeps, 1);
  EXPECT_LE(clock.longest, 16u);
}

}  // namespace
}  // namespace vorlith
