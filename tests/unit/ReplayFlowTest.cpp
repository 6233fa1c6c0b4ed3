// The replays of tests/replays played in-process, for what their frames draw, which their
// traces do not show: the pop-ups of the item pick-ups.

#include <gtest/gtest.h>

#include <regex>

#include "StageTestKit.h"
#include "TestFiles.h"
#include "replay/FrameReporter.h"
#include "replay/ReplayPadSource.h"
#include "replay/ReplayStream.h"

namespace vorlith {
namespace {

// Each pick-up shows its pop-up for the 60 frames from the one it happens in, so the copies
// of a pop-up on screen are the pick-ups of the last 60 frames.
TEST(ReplayFlowTest, PickUpsShowTheirPopUpsForSixtyFrames) {
  ReplayStream replay;
  std::string error;
  ASSERT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/item_pickups.replay", error)) << error;
  auto* input = new ReplayPadSource(&replay);
  testkit::GameRun game;
  game.app->SetPadSource(std::unique_ptr<PadSource>(input));
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
      for (const auto& call : game.test.device->texts)
        shown += call.text == popup.text && call.argb == popup.colour;
      for (std::int64_t at : popup.pickUps) recent += at <= frame && frame < at + 60;
      ASSERT_EQ(shown, recent) << popup.text << " in frame " << frame;
    }
  }
  ASSERT_EQ(popups[0].pickUps.size(), 2u);
  EXPECT_LT(popups[0].pickUps[1] - popups[0].pickUps[0], 60);  // the two pop-ups overlap
}

// What the main loop meets during a replay: nothing; P after every 40th frame, then a repaint
// and P again while paused; or after every 40th frame a repaint, Alt+Enter and the focus
// lost, then a repaint and the focus back while the loop waits.
enum class Disturbance { kNone, kPauses, kRepaintsAndSwitches };

// The trace of a committed replay played through the main loop, but for the frame rate and
// the kill count (which runs on over the whole process, from one game to the next).
std::string TraceOf(const std::string& name, Disturbance disturbance, int& labelledPresents) {
  ReplayStream replay;
  std::string error;
  EXPECT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/" + name, error));
  auto* input = new ReplayPadSource(&replay);
  testkit::GameRun game;
  game.app->SetPadSource(std::unique_ptr<PadSource>(input));
  FakeWindow& window = *game.test.window;
  const bool pauses = disturbance == Disturbance::kPauses;
  const testing::ScratchFolder folder("vorlith-disturbed-trace");
  const std::string path = folder / "trace.jsonl";
  {
    FrameReporter reporter(*game.app, {path, "", {}, input, nullptr});
    EXPECT_TRUE(reporter.Open(error)) << error;
    int frames = 0;
    game.app->SetFrameObserver([&] {
      reporter.OnFrame();
      if (disturbance == Disturbance::kNone || ++frames % 40 != 0) return;
      if (pauses) {
        window.PushEvent(WindowEventType::Pause);
        return;
      }
      window.PushEvent(WindowEventType::Expose);
      window.PushEvent(WindowEventType::ToggleFullScreen);
      window.focused = false;
    });
    window.waitHook = [&](int waits) {
      if (!pauses) window.focused = true;
      window.PushEvent(pauses && waits % 2 == 0 ? WindowEventType::Pause : WindowEventType::Expose);
    };
    EXPECT_EQ(game.app->Run(), 0);
    const int waits = disturbance == Disturbance::kNone ? 0 : frames / 40 * (pauses ? 2 : 1);
    EXPECT_EQ(window.waitCount, waits);
  }
  labelledPresents = game.test.device->labelledPresentCount;
  return std::regex_replace(testing::ReadWhole(path), std::regex("\"(fps|kills)\":[0-9]+,"), "");
}

// Pauses, and repaints, mode switches and the focus leave the trace as it was: a repaint
// presents the last picture again, so combos, results and pop-ups stay where the counted
// frames left them, whatever the window does meanwhile.
TEST(ReplayFlowTest, PausesRepaintsModeSwitchesAndFocusLeaveTheTraceAsItWas) {
  const std::tuple<std::string, Disturbance, int, bool> runs[] = {
      {"item_pickups.replay", Disturbance::kPauses, 100, true},
      {"game_over_continue_return.replay", Disturbance::kRepaintsAndSwitches, 4000, false}};
  for (const auto& [name, disturbance, frames, labels] : runs) {
    int labelled = 0;
    const std::string straight = TraceOf(name, Disturbance::kNone, labelled);
    EXPECT_EQ(labelled, 0);
    const std::string disturbed = TraceOf(name, disturbance, labelled);
    EXPECT_TRUE(labels ? labelled > 4 : labelled == 0) << labelled;
    EXPECT_GT(std::count(straight.begin(), straight.end(), '\n'), frames);
    EXPECT_TRUE(straight == disturbed) << name << ": the disturbed run's trace differs";
  }
}

// A screenshot of the last frame is taken (the fake device cannot read back, so it fails for
// that reason); one of the frame after it was never reached, fails the run too and leaves no
// file.
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
  EXPECT_FALSE(std::filesystem::exists(dir + "next.png"));
}

}  // namespace
}  // namespace vorlith
