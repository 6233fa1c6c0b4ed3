// The replays of tests/replays played in-process, for what their frames draw, which their
// traces do not show: the pop-ups of the item pick-ups.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "StageTestKit.h"
#include "replay/FrameReporter.h"
#include "replay/ReplayInputDevices.h"

namespace vorlith {
namespace {

// Each pick-up shows its pop-up for the 60 frames from the one it happens in, so the copies
// of a pop-up on screen are the pick-ups of the last 60 frames.
TEST(ReplayFlowTest, PickUpsShowTheirPopUpsForSixtyFrames) {
  ReplayStream replay;
  std::string error;
  ASSERT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/item_pickups.replay", error)) << error;
  auto* input = new ReplayInputDevices(&replay);
  testkit::GameRun game({"vorlith"}, std::unique_ptr<InputDevices>(input));
  struct Popup {
    std::string text;
    std::uint32_t colour;
    std::int32_t (MoverMyShip::*changes)() const;
    std::int32_t last;
    std::vector<std::int64_t> pickUps;
  };
  Popup popups[] = {{"Shoot Ability +1", 0xFFFFFFFF, &MoverMyShip::GetShotInterval, 8, {}},
                    {"HP Max +1", 0xFF6464FF, &Mover::GetHpMax, 100, {}}};
  for (std::int64_t frame = 0; !input->IsFinished(); ++frame) {
    game.Frame();
    for (Popup& popup : popups) {
      const std::int32_t now = (game.Stage()->GetMyShip()->*popup.changes)();
      if (now != popup.last) popup.pickUps.push_back(frame);
      popup.last = now;
      int shown = 0, recent = 0;
      for (const auto& call : game.test.device->GetTexts()) {
        shown += call.text == popup.text && call.argb == popup.colour;
      }
      for (std::int64_t at : popup.pickUps) recent += at <= frame && frame < at + 60;
      ASSERT_EQ(shown, recent) << popup.text << " in frame " << frame;
    }
  }
  ASSERT_EQ(popups[0].pickUps.size(), 2u);
  EXPECT_LT(popups[0].pickUps[1] - popups[0].pickUps[0], 60);  // the two pop-ups overlap
}

// The trace of a replay played through the main loop, but for the frame rate and the kill
// count (which runs on over the whole process, from one game to the next); with `pauses`,
// P comes after every 40th frame, and a repaint and P again while paused.
std::string TraceWithPauses(bool pauses, int& labelledPresents) {
  ReplayStream replay;
  std::string error;
  EXPECT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/item_pickups.replay", error));
  auto* input = new ReplayInputDevices(&replay);
  testkit::GameRun game({"vorlith"}, std::unique_ptr<InputDevices>(input));
  const std::string path = ::testing::TempDir() + "/pause-trace.jsonl";
  {
    FrameReporter reporter(*game.app, {path, "", {}, input, nullptr});
    EXPECT_TRUE(reporter.Open(error)) << error;
    int frames = 0;
    game.app->SetFrameObserver([&] {
      reporter.OnFrame();
      if (pauses && ++frames % 40 == 0) game.test.window->PushEvent(WindowEventType::Pause);
    });
    game.test.window->SetWaitHook([&](int waits) {
      const bool last = waits % 2 == 0;
      game.test.window->PushEvent(last ? WindowEventType::Pause : WindowEventType::Expose);
    });
    EXPECT_EQ(game.app->Run(), 0);
    EXPECT_EQ(game.test.window->GetWaitCount(), pauses ? frames / 40 * 2 : 0);
  }
  labelledPresents = game.test.device->GetLabelledPresentCount();
  std::stringstream trace;
  trace << std::ifstream(path).rdbuf();
  return std::regex_replace(trace.str(), std::regex("\"(fps|kills)\":[0-9]+,"), "");
}

TEST(ReplayFlowTest, PausesLeaveTheTraceAsItWas) {
  int labelled = 0;
  const std::string straight = TraceWithPauses(false, labelled);
  EXPECT_EQ(labelled, 0);
  const std::string paused = TraceWithPauses(true, labelled);
  EXPECT_GT(labelled, 4);
  EXPECT_GT(std::count(straight.begin(), straight.end(), '\n'), 100);
  EXPECT_TRUE(straight == paused) << "the paused run's trace differs";
}

// A screenshot of the last frame is taken (the fake device cannot read back, so it fails for
// that reason); one of the frame after it was never reached, and fails the run too.
TEST(ReplayFlowTest, AScreenshotPastTheLastFrameFailsTheRunNamingIt) {
  testkit::GameRun game({"vorlith"});
  const std::string dir = ::testing::TempDir();
  FrameReporter reporter(
      *game.app, {"", "", {{1, dir + "last.png"}, {2, dir + "next.png"}}, nullptr, nullptr});
  std::string error;
  ASSERT_TRUE(reporter.Open(error)) << error;
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i) {
    game.Frame();
    reporter.OnFrame();
  }
  EXPECT_FALSE(reporter.Finish());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "vorlith: " + dir + "last.png: no screenshot: the picture could not be read back\n" +
                "vorlith: " + dir + "next.png: no screenshot: frame 2 was never reached\n");
}

}  // namespace
}  // namespace vorlith
