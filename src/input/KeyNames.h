#pragma once

#include <string>

namespace vorlith {

// Names of the keys and controller buttons a player can bind. A key is its position on the
// keyboard (a USB HID usage, as SDL's scancodes number them), named as SDL names it on a US
// layout ("Up", "Z", "Space", "Left Shift"); a button is numbered and named as SDL's game
// controller buttons ("a", "start", "dpup"). Names compare without regard to case.
class KeyNames {
 public:
  static constexpr int kNoKey = 0;
  static constexpr int kKeyCount = 512;  // key codes are below this
  static constexpr int kNoButton = -1;
  static constexpr int kButtonCount = 15;
  static constexpr int kEscape = 41;  // quits the game, cancels a wait for a key: not bindable
  static constexpr int kF1 = 58;      // opens the help: not bindable

  // kNoKey for a name no bindable key has.
  static int KeyFromName(const std::string& name);
  // Empty for a code without a name.
  static std::string KeyName(int code);
  static int ButtonFromName(const std::string& name);  // kNoButton when unknown
  static std::string ButtonName(int button);
};

}  // namespace vorlith
