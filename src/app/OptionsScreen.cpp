#include "app/OptionsScreen.h"

#include <algorithm>

#include "graphics/TextFont.h"
#include "input/KeyNames.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kChosen = 0xFFFFE040;
constexpr std::uint32_t kGrey = 0xFFA0A0A0;
constexpr int kLeft = 120, kTop = 40, kLineHeight = 17, kValueX = 330;

bool Pressed(std::uint8_t now, std::uint8_t before) {
  return now && !before;
}

const char* YesNo(bool on) {
  return on ? "yes" : "no";
}

}  // namespace

void OptionsScreen::Open(const Settings& current, const PadState& pad, const Held& held) {
  settings = current;
  line = kVolume;
  waiting = false;
  open = true;
  Remember(pad, held);
}

bool OptionsScreen::Step(const PadState& pad, const Held& held) {
  if (waiting) {
    TakeKey(held);
  } else if (open) {
    if (Pressed(pad.up, lastUp)) line = (line + kLineCount - 1) % kLineCount;
    if (Pressed(pad.down, lastDown)) line = (line + 1) % kLineCount;
    if (Pressed(pad.left, lastLeft)) Change(-1);
    if (Pressed(pad.right, lastRight)) Change(1);
    if (Pressed(pad.buttons[0], lastFire)) Choose();
  }
  Remember(pad, held);
  return open;
}

// What was held this frame, so that the next frame acts only on new presses.
void OptionsScreen::Remember(const PadState& pad, const Held& held) {
  lastUp = pad.up;
  lastDown = pad.down;
  lastLeft = pad.left;
  lastRight = pad.right;
  lastFire = pad.buttons[0];
  last = held;
}

void OptionsScreen::Escape() {
  if (waiting) {
    waiting = false;
  } else {
    open = false;
  }
}

void OptionsScreen::Change(int direction) {
  switch (line) {
    case kVolume:
      settings.volume =
          std::clamp(settings.volume + direction * kVolumeStep, 0, Settings::kMaxVolume);
      break;
    case kMute:
      settings.mute = !settings.mute;
      break;
    case kFullScreen:
      settings.fullScreen = !settings.fullScreen;
      break;
    case kPauseWhenUnfocused:
      settings.pauseWhenUnfocused = !settings.pauseWhenUnfocused;
      break;
    default:
      break;
  }
}

void OptionsScreen::Choose() {
  if (line >= kFirstKey && line < kDefaults) {
    waiting = true;
  } else if (line == kDefaults) {
    const Settings defaults;
    settings.volume = defaults.volume;
    settings.mute = defaults.mute;
    settings.bindings = defaults.bindings;
    settings.pauseWhenUnfocused = defaults.pauseWhenUnfocused;
  } else if (line == kBack) {
    open = false;
  } else {
    Change(1);
  }
}

// The first key (or button) pressed since the last frame; keys without a name wait on.
void OptionsScreen::TakeKey(const Held& held) {
  const bool key = line < kFirstButton;
  const int action = line - (key ? kFirstKey : kFirstButton);
  if (key) {
    for (int code = 1; code < KeyboardState::kKeyCount; ++code) {
      if (!held.keys.held[code] || last.keys.held[code]) continue;
      if (KeyNames::KeyName(code).empty() || code == KeyNames::kEscape) continue;
      return Bind(action, code, true);
    }
    return;
  }
  for (int button = 0; button < ControllerState::kButtonCount; ++button) {
    if (held.buttons[button] && !last.buttons[button]) return Bind(action, button, false);
  }
}

// The new key becomes the action's only one. An action that had it takes this action's old
// first key in its place, so that no key gives two actions and none is left without.
void OptionsScreen::Bind(int action, int value, bool key) {
  Bindings& bindings = settings.bindings;
  auto& table = key ? bindings.keys : bindings.buttons;
  const int none = key ? KeyNames::kNoKey : KeyNames::kNoButton;
  const int old = table[action][0];
  const int other =
      key ? bindings.ActionOfKey(value, action) : bindings.ActionOfButton(value, action);
  if (other >= 0) {
    for (int& held : table[other]) {
      if (held == value) held = old;
    }
    if (table[other][0] == table[other][1]) table[other][1] = none;
  }
  table[action] = {value, none};
  waiting = false;
}

std::string OptionsScreen::LineText(int index) const {
  if (index >= kFirstKey && index < kFirstButton) {
    const int action = index - kFirstKey;
    return std::string("key ") + Bindings::ActionName(action) + "\t" +
           Settings::KeysText(settings.bindings.keys[action]);
  }
  if (index >= kFirstButton && index < kDefaults) {
    const int action = index - kFirstButton;
    return std::string("button ") + Bindings::ActionName(action) + "\t" +
           Settings::ButtonsText(settings.bindings.buttons[action]);
  }
  switch (index) {
    case kVolume:
      return "volume\t" + std::to_string(settings.volume);
    case kMute:
      return std::string("mute\t") + YesNo(settings.mute);
    case kFullScreen:
      return std::string("full screen\t") + YesNo(settings.fullScreen);
    case kPauseWhenUnfocused:
      return std::string("pause in the background\t") + YesNo(settings.pauseWhenUnfocused);
    case kDefaults:
      return "defaults";
    default:
      return "back";
  }
}

void OptionsScreen::Draw(const TextFont& font) const {
  font.DrawText("Options", kLeft, kTop - kLineHeight - 8, kWhite, TopLeft);
  for (int index = 0; index < kLineCount; ++index) {
    const std::string text = LineText(index);
    const std::size_t tab = text.find('\t');
    const int y = kTop + index * kLineHeight;
    const std::uint32_t colour = index == line ? kChosen : kWhite;
    font.DrawText(text.substr(0, tab).c_str(), kLeft, y, colour, TopLeft);
    if (tab == std::string::npos) continue;
    const std::string value =
        index == line && waiting
            ? (index < kFirstButton ? "press a key (Esc: keep)" : "press a button (Esc: keep)")
            : text.substr(tab + 1);
    font.DrawText(value.c_str(), kValueX, y, colour, TopLeft);
  }
  font.DrawText("up, down: line   left, right: change   fire: choose   Esc: save and leave",
                kLeft - 80, kTop + kLineCount * kLineHeight + 8, kGrey, TopLeft);
}

}  // namespace vorlith
