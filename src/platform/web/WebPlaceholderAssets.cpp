// TEMPORARY, only while cmake/WebAssets.cmake is missing: no models (every load fails as a
// missing file does) and text as empty glyphs of a fixed advance.
#include "platform/FontRasterizer.h"
#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

class PlaceholderRasterizer : public FontRasterizer {
 public:
  explicit PlaceholderRasterizer(int size) : size(size > 0 ? size : 12) {}
  int GetLineHeight() const override { return size; }
  bool Measure(const std::string& utf8, int& width, int& height) override {
    width = static_cast<int>(utf8.size()) * size / 2;
    height = size;
    return true;
  }
  bool RenderGlyph(char32_t, Glyph& glyph) override {
    glyph = Glyph{};
    glyph.advance = size / 2;
    return true;
  }
  int GetKerning(char32_t, char32_t) override { return 0; }

 private:
  int size;
};

}  // namespace

std::unique_ptr<FontRasterizer> FontRasterizer::Create(const FontDesc& desc) {
  return std::make_unique<PlaceholderRasterizer>(desc.height);
}

bool LoadXModel(const std::string& path, LoadedModel&, std::string& error) {
  error = path + ": no model loader in this build";
  return false;
}

bool LoadXModelFromMemory(const std::vector<std::uint8_t>&, LoadedModel&, std::string& error) {
  error = "no model loader in this build";
  return false;
}

bool StartXModelImporter() {
  return true;
}

XModelImporterStats GetXModelImporterStats() {
  return {};
}

}  // namespace vorlith
