#pragma once

#include <cstdint>
#include <string>

#include "base/RenderTypes.h"

namespace vorlith {

class Dialogs;
class RenderDevice;

enum TextAlign : std::int32_t { TopLeft = 0, Center = 1 };

// A font on the drawing device and the operation that draws a string with it.
class TextFont {
 public:
  TextFont() = default;
  ~TextFont();
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  // On failure shows "D3DXCreateFont FALSE" (caption "ok"); the font then draws nothing.
  void Create(RenderDevice* device, Dialogs& dialogs, int height, unsigned width, unsigned weight,
              const char* faceName);
  void Create(RenderDevice* device, Dialogs& dialogs, int height);
  // Text in UTF-8; colour 0xAARRGGBB; (x, y) in back-buffer pixels.
  void DrawText(const char* text, int x, int y, std::uint32_t colour, TextAlign align) const;
  bool IsCreated() const { return font != 0; }

 private:
  void Release();

  RenderDevice* device = nullptr;
  FontId font = 0;
};

}  // namespace vorlith
