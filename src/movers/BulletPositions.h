#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

namespace vorlith {

// Where the bullet of every bullet slot stands, the x and the y of all slots side by side, so
// the hit tests that look at every bullet run through two small arrays instead of 500 movers.
// An empty slot holds NaN, which no comparison takes as inside.
class BulletPositions {
 public:
  static constexpr int kSlots = 500;

  BulletPositions() { ClearAll(); }

  void Set(int slot, float x, float y) {
    xs[slot] = x;
    ys[slot] = y;
  }
  void Clear(int slot) { Set(slot, kEmpty, kEmpty); }
  void ClearAll() {
    for (int i = 0; i < kPadded; ++i) xs[i] = ys[i] = kEmpty;
  }

  // Calls hit(slot), in slot order, for every bullet with left <= x <= right and
  // top <= y <= bottom. The tests of all slots run first, as one loop the compiler runs
  // several slots at a time; eight slots without a hit are then passed over at once.
  template <typename Hit>
  void ForEachInside(float left, float right, float top, float bottom, Hit hit) const {
    alignas(16) std::uint8_t inside[kPadded];
    for (int i = 0; i < kPadded; ++i) {
      inside[i] = (left <= xs[i]) & (xs[i] <= right) & (top <= ys[i]) & (ys[i] <= bottom);
    }
    for (int base = 0; base < kPadded; base += 8) {
      std::uint64_t eight;
      std::memcpy(&eight, inside + base, sizeof eight);
      if (eight == 0) continue;
      for (int i = base; i < base + 8; ++i) {
        if (inside[i]) hit(i);
      }
    }
  }

 private:
  static constexpr int kPadded = (kSlots + 15) / 16 * 16;
  static constexpr float kEmpty = std::numeric_limits<float>::quiet_NaN();

  alignas(64) float xs[kPadded];
  alignas(64) float ys[kPadded];
};

}  // namespace vorlith
