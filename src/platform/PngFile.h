#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlith {

// Writes tightly packed RGBA rows (top row first) as a PNG file; false when it cannot.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int width,
              int height);

}  // namespace vorlith
