#include <gtest/gtest.h>

#include <functional>

#include "FakeClock.h"
#include "TestPlatform.h"
#include "app/FramePacer.h"
#include "app/WindowApp.h"

namespace vorlith {
namespace {

using testing::TestPlatform;
using Event = WindowEventType;

// Logs frames ('U' for Update, 'D' for Draw) and lets a test act after each Update.
class LoggingApp : public WindowApp {
 public:
  explicit LoggingApp(TestPlatform& test, std::vector<std::string> args = {"/opt/game/vorlith"})
      : WindowApp(test.Take(), args, "Test title", true) {}
  void Update() override {
    log += 'U';
    if (afterUpdate) afterUpdate(++updates);
  }
  void Draw() override { log += 'D'; }

  int updates = 0;
  std::string log;
  std::function<void(int)> afterUpdate;
};

class WindowAppTest : public ::testing::Test {
 protected:
  TestPlatform test;
  LoggingApp app{test};
};

// The window has the title and the icon beside the program. Alt+Enter and the maximize button
// both switch full screen; help with the empty path does nothing; an expose presents the last
// picture again and draws nothing (a drawn frame steps the game).
TEST_F(WindowAppTest, EveryWaitingEventIsHandledBeforeTheNextFrame) {
  EXPECT_EQ(std::pair(test.window->title, test.window->iconPath),
            (std::pair<std::string, std::string>("Test title", "/opt/game/game.ico")));
  EXPECT_EQ(WindowApp::DirectoryOf("vorlith"), "");
  app.afterUpdate = [&](int frame) {
    const std::vector<std::vector<Event>> events = {
        {Event::FocusGained, Event::Expose, Event::Help, Event::Maximize, Event::Shown},
        {Event::ToggleFullScreen, Event::Escape}};
    EXPECT_EQ(test.window->fullScreen, frame == 2);
    for (Event e : events.at(frame - 1)) test.window->PushEvent(e);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(std::tuple(app.log, test.device->presentCount, test.window->fullScreen,
                       test.window->openedUrls.size(), test.dialogs->shown.size()),
            std::tuple("UDUD", 1, false, 0u, 0u));
}

TEST_F(WindowAppTest, InTheBackgroundTheLoopWaitsInsteadOfRunningFrames) {
  test.window->waitHook = [&](int waits) {
    if (waits == 3) test.window->PushEvent(Event::Expose);  // a repaint only presents
    if (waits == 5) test.window->focused = true;
  };
  app.afterUpdate = [&](int frame) {
    if (frame == 1) test.window->focused = false;
    if (frame == 2) test.window->PushEvent(Event::Close);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(std::tuple(app.log, test.device->presentCount, test.window->waitCount),
            std::tuple("UDUD", 1, 5));
}

// P or Start pauses until the next one: no frames; the last picture is presented again
// under the label, and so is it on a repaint and after Alt+Enter, without drawing. Esc still
// quits.
TEST_F(WindowAppTest, PauseRunsNoFramesUntilPressedAgainAndEscStillQuits) {
  test.window->waitHook = [&](int waits) {
    EXPECT_EQ(std::tuple(app.IsPaused(), test.device->pauseLabel, test.audio->paused),
              std::tuple(true, true, true));
    const Event arriving[] = {Event::None,  Event::Expose, Event::ToggleFullScreen,
                              Event::Pause, Event::None,   Event::Escape};
    if (arriving[waits - 1] != Event::None) test.window->PushEvent(arriving[waits - 1]);
  };
  app.afterUpdate = [&](int frame) {
    EXPECT_FALSE(test.device->pauseLabel);
    EXPECT_FALSE(test.audio->paused);
    test.window->PushEvent(Event::Pause);
    if (frame == 2) test.window->focused = false;  // both pauses at once: Esc still quits
  };
  EXPECT_EQ(app.Run(), 0);
  // Presents, all labelled: two pauses, the repaint and the switch.
  EXPECT_EQ(std::tuple(app.log, test.window->waitCount, test.device->labelledPresentCount,
                       test.device->presentCount, test.window->fullScreen),
            std::tuple("UDUD", 6, 4, 4, true));
}

// A loop that may wait spends the time before a frame waiting for events, which end the
// wait early; the frame runs once the gate opens. The browser's loop: passes that never
// block, frames only when the gate lets them run, every waiting event taken first.
TEST_F(WindowAppTest, RunOnceRunsFramesThroughTheGateAndWaitsForEventsOnlyWhereItMay) {
  std::int64_t wait = 16;
  app.SetFrameGate([&] { return wait; });
  ASSERT_TRUE(app.Start());
  test.window->waitHook = [&](int) { test.window->PushEvent(Event::Expose); };
  using Pass = WindowApp::Pass;
  EXPECT_EQ(app.RunOnce(true), Pass::Idle);
  // The event that ended the wait, handled.
  EXPECT_EQ(std::pair(test.window->lastWaitMs, test.device->presentCount), std::pair(16, 1));
  wait = 1;
  test.window->waitHook = nullptr;
  EXPECT_EQ(app.RunOnce(true), Pass::Idle);
  EXPECT_EQ(test.window->lastWaitMs, 1);
  wait = 0;
  EXPECT_EQ(app.RunOnce(true), Pass::Frame);

  wait = 1;
  EXPECT_EQ(app.RunOnce(false), Pass::Idle);
  wait = 0;
  test.window->PushEvent(Event::Expose);
  EXPECT_EQ(app.RunOnce(false), Pass::Event);
  EXPECT_EQ(app.RunOnce(false), Pass::Frame);
  test.window->focused = false;
  EXPECT_EQ(app.RunOnce(false), Pass::Idle);
  // The two waits above only; in the background, as Run would be.
  EXPECT_EQ(std::pair(test.window->waitCount, test.audio->paused), std::pair(2, true));
  test.window->PushEvent(Event::Escape);
  EXPECT_EQ(app.RunOnce(false), Pass::Event);
  EXPECT_EQ(std::pair(app.IsRunning(), app.log), std::pair(false, std::string("UDUD")));
}

// (Bad sizes give the no-device message and status 1 in the end-to-end command-line test.)
TEST_F(WindowAppTest, WithoutAWindowTheUserIsToldAndTheExitStatusIsOne) {
  TestPlatform windowless;
  windowless.window->createFails = true;
  LoggingApp failed(windowless);
  EXPECT_FALSE(failed.IsReady());
  using Shown = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(windowless.dialogs->shown, (Shown{{"Test title", WindowApp::kNoDeviceMessage}}));
  EXPECT_EQ(failed.Run(), 1);
  EXPECT_EQ(failed.log, "");
}

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
