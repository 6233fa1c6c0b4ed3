// The replays of tests/replays played in-process, for what their frames draw, which their
// traces do not show: the pop-ups of the item pick-ups.

#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "input/ReplayInputDevices.h"

namespace vorlith {
namespace {

// Each pick-up shows its pop-up for the 60 frames from the one it happens in, so the copies
// of a pop-up on screen are the pick-ups of the last 60 frames.
TEST(ReplayFlowTest, PickUpsShowTheirPopUpsForSixtyFrames) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(script.Load(VORLITH_SOURCE_DIR "/tests/replays/item_pickups.replay", error)) << error;
  auto* input = new ReplayInputDevices(&script);
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

}  // namespace
}  // namespace vorlith
