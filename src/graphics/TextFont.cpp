#include "graphics/TextFont.h"

#include "platform/Dialogs.h"
#include "platform/RenderDevice.h"

namespace vorlith {

TextFont::~TextFont() {
  Release();
}

void TextFont::Release() {
  if (font && device) device->ReleaseFont(font);
  font = 0;
}

void TextFont::Create(RenderDevice* device, Dialogs& dialogs, int height, unsigned width,
                      unsigned weight, const char* faceName) {
  Release();
  this->device = device;
  FontDesc desc;
  desc.height = height;
  desc.width = width;
  desc.weight = weight;
  if (faceName) desc.faceName = faceName;
  if (device) font = device->CreateFont(desc);
  if (!font) dialogs.ShowMessage("ok", "D3DXCreateFont FALSE");
}

void TextFont::Create(RenderDevice* device, Dialogs& dialogs, int height) {
  Create(device, dialogs, height, 0, 300, nullptr);
}

void TextFont::DrawText(const char* text, int x, int y, std::uint32_t colour,
                        TextAlign align) const {
  if (!font || !device || !text) return;
  if (align == Center) {
    int width = 0, height = 0;
    if (!device->MeasureText(font, text, width, height)) width = height = 0;
    x -= width / 2;
    y -= height / 2;
  }
  device->DrawText(font, text, x, y, colour);
}

}  // namespace vorlith
