#pragma once

#include <string>
#include <vector>

#include "input/Bindings.h"

namespace vorlith {

// The player's settings as settings.ini holds them:
//
//   [sound]  volume = 0..100 (percent of the effects' full level), mute = yes|no
//   [keys]   up, down, left, right, fire, x, continue, return, pause = one or two key names
//   [pad]    the same actions = one or two controller button names
//   [window] fullscreen = yes|no, width, height (the window's size), pause_when_unfocused
//
// Reading never fails: an entry that cannot be used keeps its default, and each such line
// (and each line that means nothing here) gives one message naming the file and the line.
struct Settings {
  static constexpr int kMaxVolume = 100;
  static constexpr int kMaxWindowSide = 16384;

  int volume = kMaxVolume;
  bool mute = false;
  Bindings bindings;
  bool fullScreen = false;
  int windowWidth = 640;
  int windowHeight = 480;
  bool pauseWhenUnfocused = true;

  // The linear gain the volume and mute put on the effects.
  float Gain() const;

  // `fileName` only names the file in the messages.
  static Settings Parse(const std::string& text, const std::string& fileName,
                        std::vector<std::string>& messages);
  // Every entry, in the order above, as Parse reads it back.
  std::string ToText() const;

  // "Up, W", "Z": an action's keys (buttons) as the file writes them.
  static std::string KeysText(const Bindings::Pair& keys);
  static std::string ButtonsText(const Bindings::Pair& buttons);
};

}  // namespace vorlith
