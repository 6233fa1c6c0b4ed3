#include "graphics/LineDrawer.h"

#include "platform/RenderDevice.h"

namespace vorlith {

void LineDrawer::Create(RenderDevice* device, std::uint32_t pattern, float width, bool antialias,
                        bool glLines, float patternScale) {
  this->device = device;
  this->pattern = pattern;
  this->width = width;
  this->antialias = antialias;
  this->glLines = glLines;
  this->patternScale = patternScale;
  created = device != nullptr;
}

bool LineDrawer::AddPoint(Point point) {
  if (pointCount >= kMaxPoints) return false;
  points[pointCount++] = point;
  return true;
}

void LineDrawer::SetPoint(int index, float x, float y) {
  if (index < 0 || index >= pointCount) return;
  points[index] = Point{x, y};
}

void LineDrawer::Draw(std::uint32_t colour) {
  if (!created || !device || pointCount == 0) return;
  float xy[2 * kMaxPoints];
  for (int i = 0; i < pointCount; ++i) {
    xy[2 * i] = points[i].x;
    xy[2 * i + 1] = points[i].y;
  }
  device->SetTexture(0);
  device->DrawPolyline(xy, pointCount, width, colour, antialias, pattern, patternScale);
}

}  // namespace vorlith
