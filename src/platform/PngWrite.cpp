// Writing a PNG file: the backend encodes (EncodePng), this writes the bytes out.
#include <cstdio>

#include "platform/PngFile.h"

namespace vorlith {

bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int width,
              int height) {
  std::vector<std::uint8_t> png;
  if (!EncodePng(rgba, width, height, png)) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace vorlith
