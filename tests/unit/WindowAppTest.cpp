#include <gtest/gtest.h>

#include <functional>

#include "TestPlatform.h"
#include "app/WindowApp.h"

namespace vorlith {
namespace {

using testing::TestPlatform;

// Logs frames ('U' for Update, 'D' for Draw) and lets a test act after each Update.
class LoggingApp : public WindowApp {
 public:
  explicit LoggingApp(TestPlatform& test, std::vector<std::string> args = {"/opt/game/vorlith"})
      : WindowApp(test.Take(), args, "Test title", true) {}
  void Update() override {
    ++updates;
    log += 'U';
    if (afterUpdate) afterUpdate(updates);
  }
  void Draw() override { log += 'D'; }

  int updates = 0;
  std::string log;
  std::function<void(int)> afterUpdate;
};

TEST(WindowAppTest, CreatesTheWindowWithTitleAndIconBesideTheProgram) {
  TestPlatform test;
  LoggingApp app(test);
  ASSERT_TRUE(app.IsReady());
  EXPECT_EQ(test.window->GetTitle(), "Test title");
  EXPECT_EQ(test.window->GetIconPath(), "/opt/game/game.ico");
  EXPECT_TRUE(test.dialogs->shown.empty());
  EXPECT_EQ(WindowApp::DirectoryOf("vorlith"), "");
  EXPECT_EQ(WindowApp::DirectoryOf("./vorlith"), "./");
  EXPECT_EQ(WindowApp::DirectoryOf("/a/b/"), "/a/b/");
}

TEST(WindowAppTest, EveryWaitingEventIsHandledBeforeTheNextFrame) {
  TestPlatform test;
  LoggingApp app(test);
  app.afterUpdate = [&](int frame) {
    if (frame == 1) {
      test.window->PushEvent(WindowEventType::FocusGained);
      test.window->PushEvent(WindowEventType::Expose);  // draws one frame of its own
      test.window->PushEvent(WindowEventType::Shown);
    }
    if (frame == 2) test.window->PushEvent(WindowEventType::Escape);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.log, "UDDUD");
}

TEST(WindowAppTest, InTheBackgroundTheLoopWaitsInsteadOfRunningFrames) {
  TestPlatform test;
  LoggingApp app(test);
  test.window->SetWaitHook([&](int waits) {
    if (waits == 3) test.window->PushEvent(WindowEventType::Expose);  // a repaint still draws
    if (waits == 5) test.window->SetFocused(true);
  });
  app.afterUpdate = [&](int frame) {
    if (frame == 1) test.window->SetFocused(false);
    if (frame == 2) test.window->PushEvent(WindowEventType::Close);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.log, "UDDUD");
  EXPECT_EQ(test.window->GetWaitCount(), 5);
}

TEST(WindowAppTest, EscapeAndCloseEndTheLoopAtOnce) {
  for (WindowEventType end : {WindowEventType::Escape, WindowEventType::Close}) {
    TestPlatform test;
    LoggingApp app(test);
    test.window->PushEvent(end);
    test.window->PushEvent(WindowEventType::Expose);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.log, "");  // nothing after it is handled, no frame runs
  }
}

TEST(WindowAppTest, AltEnterAndMaximizeSwitchFullScreenBackAndForth) {
  TestPlatform test;
  LoggingApp app(test, {"vorlith", "-w", "800", "-h", "600", "-fw", "1024", "-fh", "768"});
  test.window->PushEvent(WindowEventType::ToggleFullScreen);
  app.afterUpdate = [&](int frame) {
    int w = 0, h = 0;
    test.device->GetBackBufferSize(w, h);
    if (frame == 1) {
      EXPECT_TRUE(test.window->IsFullScreen());
      EXPECT_EQ(w, 1024);
      test.window->PushEvent(WindowEventType::Maximize);
    } else if (frame == 2) {
      EXPECT_FALSE(test.window->IsFullScreen());
      EXPECT_EQ(w, 800);
      test.window->PushEvent(WindowEventType::Maximize);
      test.window->PushEvent(WindowEventType::ToggleFullScreen);
    } else {
      EXPECT_FALSE(test.window->IsFullScreen());
      test.window->PushEvent(WindowEventType::Close);
    }
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.updates, 3);
}

TEST(WindowAppTest, HelpWithTheEmptyPathDoesNothing) {
  TestPlatform test;
  LoggingApp app(test);
  test.window->PushEvent(WindowEventType::Help);
  test.window->PushEvent(WindowEventType::Close);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_TRUE(test.window->GetOpenedUrls().empty());
  EXPECT_TRUE(test.dialogs->shown.empty());
}

TEST(WindowAppTest, WithoutADeviceTheUserIsToldAndTheExitStatusIsOne) {
  TestPlatform test;
  LoggingApp app(test, {"vorlith", "-w", "abc"});
  EXPECT_FALSE(app.IsReady());
  ASSERT_EQ(test.dialogs->shown.size(), 1u);
  EXPECT_EQ(test.dialogs->shown[0].first, "Test title");
  EXPECT_EQ(test.dialogs->shown[0].second, WindowApp::kNoDeviceMessage);
  EXPECT_EQ(app.Run(), 1);
  EXPECT_EQ(app.log, "");

  TestPlatform noWindow;
  noWindow.window->SetCreateFails(true);
  LoggingApp second(noWindow);
  EXPECT_EQ(second.Run(), 1);
  EXPECT_EQ(noWindow.dialogs->shown.size(), 1u);
}

}  // namespace
}  // namespace vorlith
