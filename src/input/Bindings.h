#pragma once

#include <array>

namespace vorlith {

// The game's actions and the keys and controller buttons that give them, up to two of each
// per action (KeyNames numbers them; kNoKey and kNoButton leave a place empty).
struct Bindings {
  enum Action { kUp, kDown, kLeft, kRight, kFire, kX, kContinue, kReturn, kPause, kActionCount };
  static constexpr int kPerAction = 2;
  using Pair = std::array<int, kPerAction>;

  std::array<Pair, kActionCount> keys;
  std::array<Pair, kActionCount> buttons;

  // Arrows, Z, X, C, V and P; the D-pad, A, B, X, Y and Start.
  Bindings();

  // The action's name in the settings ("up", "fire", "continue", ...).
  static const char* ActionName(int action);
  static int ActionFromName(const char* name, std::size_t length);  // -1 when unknown
  static Pair DefaultKeys(int action);
  static Pair DefaultButtons(int action);

  bool HoldsKey(int action, int code) const;
  bool HoldsButton(int action, int button) const;
  // The first action other than `except` that a key (button) gives; -1 when none.
  int ActionOfKey(int code, int except) const;
  int ActionOfButton(int button, int except) const;
};

}  // namespace vorlith
