// Writes the window icon and the desktop icons, the same bytes on every run:
//   make_icon <file>            ->  an icon file with a 16 x 16 and a 32 x 32 image, both
//                                   32-bit (BMP-style images with alpha)
//   make_icon --desktop <dir>   ->  <dir>/hicolor/NxN/apps/vorlith.png for N = 16, 32, 48,
//                                   64, 128, 256 and <dir>/hicolor/scalable/apps/vorlith.svg
// The picture: a small arrow-headed ship pointing up, cyan with a white canopy and an
// orange engine flame, on a transparent background.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PngFile.h"

namespace {

constexpr int kSize = 32;  // the picture is drawn on a 32 x 32 grid

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// The ship's hull: a triangle from the nose (16, 2) to the wing tips (3, 26) and (29, 26),
// with a notch at the back where the flame comes out.
bool InHull(double x, double y) {
  if (y < 2 || y > 26) return false;
  const double halfWidth = (y - 2) * 13.0 / 24.0;
  if (std::fabs(x - 16) > halfWidth) return false;
  return !(y > 22 && std::fabs(x - 16) < 3);
}

Rgba Shade(double x, double y) {
  if (std::hypot(x - 16, y - 14) < 2.6) return {255, 255, 255, 255};  // canopy
  if (y > 22 && y < 30 && std::fabs(x - 16) < 2.2 - (y - 22) * 0.25) {
    return {255, 150, 40, 230};  // flame
  }
  if (InHull(x, y)) {
    const auto light = static_cast<std::uint8_t>(150 + 100 * (1 - y / 26));
    return {40, light, 255, 255};
  }
  return {};
}

// 4 x 4 supersampling for soft edges; size is the image's, the picture is scaled to it.
Rgba Pixel(int px, int py, int size) {
  const double scale = static_cast<double>(kSize) / size;
  double r = 0, g = 0, b = 0, a = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const Rgba c = Shade((px + (sx + 0.5) / 4) * scale, (py + (sy + 0.5) / 4) * scale);
      r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
    }
  }
  if (a == 0) return {};
  return {static_cast<std::uint8_t>(r / a), static_cast<std::uint8_t>(g / a),
          static_cast<std::uint8_t>(b / a), static_cast<std::uint8_t>(a / 16)};
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<std::uint8_t> Image(int size) {
  std::vector<std::uint8_t> out;
  const unsigned maskRowBytes = 4;  // up to 32 pixels, 1 bit each, rows padded to 32 bits
  const unsigned imageBytes = size * size * 4 + maskRowBytes * size;
  Put32(out, 40);        // BITMAPINFOHEADER size
  Put32(out, size);      // width
  Put32(out, size * 2);  // height of colour image plus mask
  Put16(out, 1);         // planes
  Put16(out, 32);        // bits per pixel
  Put32(out, 0);         // no compression
  Put32(out, imageBytes);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  std::vector<std::uint8_t> mask;
  for (int y = size - 1; y >= 0; --y) {  // bottom row first
    std::uint32_t maskBits = 0;
    for (int x = 0; x < size; ++x) {
      const Rgba c = Pixel(x, y, size);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      out.push_back(c.a);
      if (c.a == 0) maskBits |= 0x80000000u >> x;
    }
    for (int k = 3; k >= 0; --k) mask.push_back((maskBits >> (k * 8)) & 0xFF);
  }
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}

// The same picture as a drawing: hull, flame, canopy, in the 32 x 32 grid of Shade.
const char* const kSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
    "viewBox=\"0 0 32 32\">\n"
    "  <defs>\n"
    "    <linearGradient id=\"hull\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" "
    "x2=\"0\" y2=\"26\">\n"
    "      <stop offset=\"0\" stop-color=\"#28faff\"/>\n"
    "      <stop offset=\"1\" stop-color=\"#2896ff\"/>\n"
    "    </linearGradient>\n"
    "  </defs>\n"
    "  <polygon fill=\"url(#hull)\" "
    "points=\"16,2 29,26 19,26 19,22 13,22 13,26 3,26\"/>\n"
    "  <polygon fill=\"#ff9628\" fill-opacity=\"0.9\" points=\"13.8,22 18.2,22 16.2,30 "
    "15.8,30\"/>\n"
    "  <circle fill=\"#ffffff\" cx=\"16\" cy=\"14\" r=\"2.6\"/>\n"
    "</svg>\n";

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written;
}

int WriteDesktopIcons(const std::filesystem::path& root) {
  std::error_code error;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const std::string edge = std::to_string(size);
    const auto folder = root / "hicolor" / (edge + "x" + edge) / "apps";
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Rgba c = Pixel(x, y, size);
        rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
      }
    }
    std::filesystem::create_directories(folder, error);
    if (!vorlith::WritePng((folder / "vorlith.png").string(), rgba, size, size)) {
      std::fprintf(stderr, "cannot write %s\n", (folder / "vorlith.png").c_str());
      return 1;
    }
  }
  const auto scalable = root / "hicolor" / "scalable" / "apps";
  std::filesystem::create_directories(scalable, error);
  if (!WriteText(scalable / "vorlith.svg", kSvg)) {
    std::fprintf(stderr, "cannot write %s\n", (scalable / "vorlith.svg").c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--desktop") return WriteDesktopIcons(argv[2]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.ico> | --desktop <dir>\n", argv[0]);
    return 2;
  }
  const std::vector<std::uint8_t> images[] = {Image(16), Image(kSize)};
  const int sizes[] = {16, kSize};
  std::vector<std::uint8_t> file;
  Put16(file, 0);                     // reserved
  Put16(file, 1);                     // icon
  Put16(file, 2);                     // two images
  std::uint32_t offset = 6 + 2 * 16;  // after this header and the two directory entries
  for (int i = 0; i < 2; ++i) {
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
