#include <gtest/gtest.h>

#include "app/OptionsScreen.h"

namespace vorlith {
namespace {

class OptionsScreenTest : public testing::Test {
 protected:
  // One frame with only this pad control (fire without one) held, then one with nothing held.
  void Tap(std::uint8_t PadState::*control = nullptr) {
    PadState pad;
    (control ? pad.*control : pad.buttons[0]) = 1;
    screen.Step(pad, held);
    screen.Step(PadState{}, held);
  }
  void Fire() { Tap(); }
  void PressKey(int code) {
    held.keys.held[code] = true;
    screen.Step(PadState{}, held);
    held.keys.held[code] = false;
    screen.Step(PadState{}, held);
  }
  void GoTo(int line) {
    while (screen.GetLine() != line) Tap(&PadState::down);
  }

  OptionsScreen screen;
  OptionsScreen::Held held;
};

TEST_F(OptionsScreenTest, LinesWrapTheVolumeStopsAtItsEndsAndRebindingSwapsKeys) {
  Settings settings;
  settings.volume = 90;
  screen.Open(settings, PadState{}, held);
  Tap(&PadState::up);
  EXPECT_EQ(screen.GetLine(), OptionsScreen::kBack);
  Tap(&PadState::down);
  Tap(&PadState::right);
  Tap(&PadState::right);  // 100 is the top
  EXPECT_EQ(screen.LineText(OptionsScreen::kVolume), "volume\t100");
  for (int i = 0; i < 11; ++i) Tap(&PadState::left);
  EXPECT_EQ(screen.GetSettings().volume, 0);
  // A held control counts once.
  PadState right;
  right.right = 1;
  for (int i = 0; i < 3; ++i) screen.Step(right, held);
  EXPECT_EQ(screen.GetSettings().volume, 10);
  GoTo(OptionsScreen::kMute);
  Fire();
  EXPECT_TRUE(screen.GetSettings().mute);

  // The new key replaces the action's keys; the action that had it takes the old one. Esc
  // keeps the key; a key without a name is not taken. Leaving by "back" ends the screen.
  constexpr int kSpace = 44, kX = 27, kZ = 29, kUnnamed = 200;
  screen.Open(Settings{}, PadState{}, held);
  GoTo(OptionsScreen::kFirstKey + Bindings::kFire);
  Fire();
  ASSERT_TRUE(screen.IsWaiting());
  PressKey(kUnnamed);
  PressKey(kX);
  EXPECT_FALSE(screen.IsWaiting());
  EXPECT_EQ(screen.LineText(OptionsScreen::kFirstKey + Bindings::kFire), "key fire\tX");
  EXPECT_EQ(screen.LineText(OptionsScreen::kFirstKey + Bindings::kX), "key x\tZ");
  Fire();
  screen.Escape();
  PressKey(kSpace);  // no longer waited for
  EXPECT_EQ(screen.GetSettings().bindings.keys[Bindings::kFire][0], kX);
  EXPECT_TRUE(screen.IsOpen());

  GoTo(OptionsScreen::kFirstButton + Bindings::kPause);
  Fire();
  held.buttons[0] = true;  // A, fire's button
  screen.Step(PadState{}, held);
  EXPECT_EQ(Settings::ButtonsText(screen.GetSettings().bindings.buttons[Bindings::kPause]), "a");
  EXPECT_EQ(Settings::ButtonsText(screen.GetSettings().bindings.buttons[Bindings::kFire]), "start");
  GoTo(OptionsScreen::kDefaults);
  Fire();
  EXPECT_EQ(screen.GetSettings().bindings.keys[Bindings::kFire][0], kZ);
  Tap(&PadState::down);
  Fire();
  EXPECT_FALSE(screen.IsOpen());
}

}  // namespace
}  // namespace vorlith
