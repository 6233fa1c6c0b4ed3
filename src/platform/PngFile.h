#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlith {

// Writes tightly packed RGBA rows (top row first) as a PNG file; false when it cannot (the
// desktop only: its tools and tests).
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int width,
              int height);
// The same picture as the bytes of a PNG file, for a caller that writes them itself.
bool EncodePng(const std::vector<std::uint8_t>& rgba, int width, int height,
               std::vector<std::uint8_t>& png);

}  // namespace vorlith
