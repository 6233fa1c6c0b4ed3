#pragma once

#include <cstdint>

namespace vorlith {

class RenderDevice;

// A screen-space polyline of up to 100 points in back-buffer pixels (the hit-point gauges).
class LineDrawer {
 public:
  static constexpr int kMaxPoints = 100;
  struct Point {
    float x = 0, y = 0;
  };

  LineDrawer() = default;
  LineDrawer(const LineDrawer&) = delete;
  LineDrawer& operator=(const LineDrawer&) = delete;

  void Create(RenderDevice* device, std::uint32_t pattern, float width, bool antialias,
              bool glLines, float patternScale);
  // False (and nothing stored) when all 100 points are in use.
  bool AddPoint(Point point);
  // Ignored for an index outside 0..pointCount-1.
  void SetPoint(int index, float x, float y);
  void Draw(std::uint32_t colour);
  int GetPointCount() const { return pointCount; }
  Point GetPoint(int index) const { return points[index]; }

 private:
  bool created = false;
  Point points[kMaxPoints];
  int pointCount = 0;
  RenderDevice* device = nullptr;
  std::uint32_t pattern = 0;
  float width = 1.0f;
  bool antialias = false;
  bool glLines = false;
  float patternScale = 1.0f;
};

}  // namespace vorlith
