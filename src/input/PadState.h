#pragma once

#include <cstdint>

namespace vorlith {

// The button that opens the high score table on the title: H, or a controller's right
// shoulder button. Replays do not keep it.
constexpr int kTableButton = 4;

// Held controls of one pad in the current frame. Only pad 0 is ever filled.
struct PadState {
  std::uint8_t up = 0, down = 0, left = 0, right = 0;
  std::uint8_t buttons[128] = {};  // 0 = Z, 1 = X, 2 = C, 3 = V, kTableButton = H
  std::uint8_t up2 = 0, down2 = 0, left2 = 0, right2 = 0;
  float stickX = 0, stickY = 0;    // sum over devices; negative = left / up
  float stick2X = 0, stick2Y = 0;  // -1, 0 or 1
};

}  // namespace vorlith
