#include "platform/ImageFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "platform/RegularFile.h"

namespace vorlith {
namespace {

std::uint32_t Byte(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]);
}

std::uint32_t Be16(const std::string& b, std::size_t at) {
  return Byte(b, at) << 8 | Byte(b, at + 1);
}

std::uint32_t Be32(const std::string& b, std::size_t at) {
  return Be16(b, at) << 16 | Be16(b, at + 2);
}

std::uint32_t Le16(const std::string& b, std::size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return Le16(b, at) | Le16(b, at + 2) << 16;
}

// Sides as the header declares them, a negative BMP height (rows top first) taken as its size.
long Side(std::uint32_t value, bool isSigned = false) {
  if (!isSigned || value < 0x80000000u) return static_cast<long>(value);
  return static_cast<long>(0x100000000LL - value);
}

bool Png(const std::string& b, long& width, long& height) {
  if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || b.compare(12, 4, "IHDR") != 0) {
    return false;
  }
  width = Side(Be32(b, 16));
  height = Side(Be32(b, 20));
  return true;
}

bool Bmp(const std::string& b, long& width, long& height) {
  if (b.size() < 26 || b.compare(0, 2, "BM") != 0) return false;
  if (Le32(b, 14) == 12) {  // the old core header: 16-bit sides
    width = Side(Le16(b, 18));
    height = Side(Le16(b, 20));
  } else {
    width = Side(Le32(b, 18), true);
    height = Side(Le32(b, 22), true);
  }
  return true;
}

// The first frame header (SOFn) among the segments before the image data.
bool Jpeg(const std::string& b, long& width, long& height) {
  if (b.size() < 4 || Byte(b, 0) != 0xFF || Byte(b, 1) != 0xD8) return false;
  width = height = 0;
  std::size_t at = 2;
  while (at + 4 <= b.size() && Byte(b, at) == 0xFF) {
    const std::uint32_t marker = Byte(b, at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) break;  // image data or the end: no frame header
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && at + 9 <= b.size()) {
      height = Side(Be16(b, at + 5));
      width = Side(Be16(b, at + 7));
      break;
    }
    at += 2 + Be16(b, at + 2);
  }
  return true;
}

bool Tga(const std::string& path, const std::string& b, long& width, long& height) {
  std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != ".tga" || b.size() < 18) return false;
  width = Side(Le16(b, 12));
  height = Side(Le16(b, 14));
  return true;
}

}  // namespace

bool ImageFile::Read(const std::string& path, std::string& why) {
  return RegularFile::Read(path, kMaxBytes, bytes, why) == RegularFile::Result::Read &&
         Probe(path, why);
}

bool ImageFile::Probe(const std::string& path, std::string& why) {
  width = height = 0;
  if (Png(bytes, width, height)) {
    type = "PNG";
  } else if (Jpeg(bytes, width, height)) {
    type = "JPG";
  } else if (Bmp(bytes, width, height)) {
    type = "BMP";
  } else if (Tga(path, bytes, width, height)) {
    type = "TGA";
  } else {
    why = "not a PNG, JPEG, BMP or TGA image";
    return false;
  }
  if (width <= 0 || height <= 0) {
    why = "the image's header gives it no size";
    return false;
  }
  if (width > kMaxSide || height > kMaxSide) {
    why = std::to_string(width) + " x " + std::to_string(height) + " pixels, more than " +
          std::to_string(kMaxSide) + " x " + std::to_string(kMaxSide);
    return false;
  }
  return true;
}

}  // namespace vorlith
