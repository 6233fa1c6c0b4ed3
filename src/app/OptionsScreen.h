#pragma once

#include <cstdint>
#include <string>

#include "app/Settings.h"
#include "input/PadState.h"
#include "platform/InputDevices.h"

namespace vorlith {

class TextFont;

// The options screen: one line per setting, then "defaults" and "back". Up and down choose a
// line, left and right change it, fire on a key or button line waits for the new key (or
// button) and fire on "back" leaves. Moves come from the pad (the player's bindings, so the
// keyboard and controllers alike), the new key or button from the devices themselves.
class OptionsScreen {
 public:
  // The lines, top to bottom.
  static constexpr int kVolume = 0, kMute = 1, kFullScreen = 2, kPauseWhenUnfocused = 3;
  static constexpr int kFirstKey = 4;
  static constexpr int kFirstButton = kFirstKey + Bindings::kActionCount;
  static constexpr int kDefaults = kFirstButton + Bindings::kActionCount;
  static constexpr int kBack = kDefaults + 1;
  static constexpr int kLineCount = kBack + 1;
  static constexpr int kVolumeStep = 10;

  // What the devices hold this frame: the keyboard (when it could be read) and the
  // controllers' buttons, all of them together.
  struct Held {
    KeyboardState keys;
    bool buttons[ControllerState::kButtonCount] = {};
  };

  // Starts on the first line with these settings; controls held now count as old.
  void Open(const Settings& current, const PadState& pad, const Held& held);
  // One frame; false once the player has left (the settings are then final).
  bool Step(const PadState& pad, const Held& held);
  // Esc: cancels a wait for a key, else leaves.
  void Escape();

  const Settings& GetSettings() const { return settings; }
  int GetLine() const { return line; }
  bool IsWaiting() const { return waiting; }
  bool IsOpen() const { return open; }
  void Draw(const TextFont& font) const;
  // The line's text as drawn: "volume  100", "fire  Space, Z", "defaults".
  std::string LineText(int index) const;

 private:
  void Change(int direction);
  void Choose();
  void Remember(const PadState& pad, const Held& held);
  void TakeKey(const Held& held);
  void Bind(int action, int value, bool key);

  Settings settings;
  int line = kVolume;
  bool waiting = false;
  bool open = false;
  std::uint8_t lastUp = 0, lastDown = 0, lastLeft = 0, lastRight = 0, lastFire = 0;
  Held last;
};

}  // namespace vorlith
