#include <gtest/gtest.h>

#include <functional>

#include "TestPlatform.h"
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
  EXPECT_EQ(test.window->title, "Test title");
  EXPECT_EQ(test.window->iconPath, "/opt/game/game.ico");
  EXPECT_EQ(WindowApp::DirectoryOf("vorlith"), "");
  app.afterUpdate = [&](int frame) {
    const std::vector<std::vector<Event>> events = {
        {Event::FocusGained, Event::Expose, Event::Help, Event::Maximize, Event::Shown},
        {Event::ToggleFullScreen, Event::Escape}};
    EXPECT_EQ(test.window->fullScreen, frame == 2);
    for (Event e : events.at(frame - 1)) test.window->PushEvent(e);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.log, "UDUD");
  EXPECT_EQ(test.device->presentCount, 1);
  EXPECT_FALSE(test.window->fullScreen);
  EXPECT_TRUE(test.window->openedUrls.empty());
  EXPECT_TRUE(test.dialogs->shown.empty());
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
  EXPECT_EQ(app.log, "UDUD");
  EXPECT_EQ(test.device->presentCount, 1);
  EXPECT_EQ(test.window->waitCount, 5);
}

// P or Start pauses until the next one: no frames; the last picture is presented again
// under the label, and so is it on a repaint and after Alt+Enter, without drawing. Esc still
// quits.
TEST_F(WindowAppTest, PauseRunsNoFramesUntilPressedAgainAndEscStillQuits) {
  test.window->waitHook = [&](int waits) {
    EXPECT_TRUE(app.IsPaused());
    EXPECT_TRUE(test.device->pauseLabel);
    EXPECT_TRUE(test.audio->paused);
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
  EXPECT_EQ(app.log, "UDUD");
  EXPECT_EQ(test.window->waitCount, 6);
  // two pauses, the repaint and the switch
  EXPECT_EQ(test.device->labelledPresentCount, 4);
  EXPECT_EQ(test.device->presentCount, 4);
  EXPECT_TRUE(test.window->fullScreen);
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
  EXPECT_EQ(test.window->lastWaitMs, 16);
  EXPECT_EQ(test.device->presentCount, 1);  // the event that ended the wait, handled
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
  EXPECT_EQ(test.window->waitCount, 2);  // the two waits above only
  EXPECT_EQ(test.audio->paused, true);   // in the background, as Run would be
  test.window->PushEvent(Event::Escape);
  EXPECT_EQ(app.RunOnce(false), Pass::Event);
  EXPECT_FALSE(app.IsRunning());
  EXPECT_EQ(app.log, "UDUD");
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

}  // namespace
}  // namespace vorlith
