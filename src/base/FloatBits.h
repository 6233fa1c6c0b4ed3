#pragma once

#include <cstdint>
#include <cstring>

namespace vorlith {

// A float's bits and back (the browser's C++ library has no std::bit_cast yet).
inline std::uint32_t FloatBits(float x) {
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

inline float FloatFromBits(std::uint32_t bits) {
  float x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

}  // namespace vorlith
