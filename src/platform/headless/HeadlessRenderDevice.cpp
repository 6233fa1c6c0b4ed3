#include "platform/headless/HeadlessRenderDevice.h"

#include <string>

#include "platform/ImageFile.h"

namespace vorlith {

HeadlessRenderDevice::HeadlessRenderDevice() = default;
HeadlessRenderDevice::~HeadlessRenderDevice() = default;

bool HeadlessRenderDevice::Create(int width, int height, bool) {
  created = created || (width > 0 && height > 0 && width <= kMaxSize && height <= kMaxSize);
  return Reset(width, height);
}

bool HeadlessRenderDevice::Reset(int width, int height) {
  if (!created || width <= 0 || height <= 0 || width > kMaxSize || height > kMaxSize) {
    return false;
  }
  this->width = width;
  this->height = height;
  viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
  return true;
}

bool HeadlessRenderDevice::BeginScene() {
  if (!created || inScene) return false;
  inScene = true;
  return true;
}

bool HeadlessRenderDevice::GetBackBufferSize(int& width, int& height) const {
  if (!created) return false;
  width = this->width;
  height = this->height;
  return true;
}

TextureId HeadlessRenderDevice::CreateTextureFromFile(const std::string& path) {
  ImageFile image;  // nothing is decoded, but what the desktop would refuse is refused
  std::string why;
  return image.Read(path, why) ? NextId() : 0;
}

FontId HeadlessRenderDevice::CreateFont(const FontDesc& desc) {
  std::unique_ptr<FontRasterizer> rasterizer = FontRasterizer::Create(desc);
  if (!rasterizer) return 0;
  const FontId id = NextId();
  fonts[id] = std::move(rasterizer);
  return id;
}

bool HeadlessRenderDevice::MeasureText(FontId font, const std::string& utf8, int& width,
                                       int& height) {
  const auto it = fonts.find(font);
  return it != fonts.end() && it->second->Measure(utf8, width, height);
}

}  // namespace vorlith
