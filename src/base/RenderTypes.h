#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlith {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// Colour with float components, as materials and lights carry them.
struct ColorValue {
  float r = 0, g = 0, b = 0, a = 0;
};

// 4x4 matrix in the row-vector convention: a point p is transformed as p * m,
// translation sits in the last row (m[3][0..2]).
struct Matrix {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

struct Material {
  ColorValue diffuse, ambient, specular, emissive;
  float power = 0;
};

enum class LightType { Point = 1, Spot = 2, Directional = 3 };

struct Light {
  LightType type = LightType::Directional;
  ColorValue diffuse, specular, ambient;
  Vec3 position, direction;
  float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0, phi = 0;
};

// Pixel rectangle of the back buffer, origin top-left, with its depth range.
struct Viewport {
  int x = 0, y = 0, width = 0, height = 0;
  float minZ = 0.0f, maxZ = 1.0f;
};

enum class TransformState { World, View, Projection };

// Which triangles are discarded, by their winding as seen on screen.
enum class CullMode { None, Clockwise, CounterClockwise };

enum class TextureFilter { Point, Linear };

// One vertex of a model mesh in the model file's own coordinates.
struct MeshVertex {
  float px = 0, py = 0, pz = 0;
  float nx = 0, ny = 0, nz = 0;
  float u = 0, v = 0;
};

// Geometry of a model: one subset per material, in material order.
struct MeshData {
  struct Subset {
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
  };
  std::vector<MeshVertex> vertices;
  std::vector<std::uint32_t> indices;  // triangle list
  std::vector<Subset> subsets;
  bool hasNormals = false;
};

struct FontDesc {
  int height = 0;        // pixel height of a line
  unsigned width = 0;    // 0: the face's natural aspect
  unsigned weight = 0;   // 100..900
  std::string faceName;  // empty: the default face
};

using MeshId = std::uint32_t;     // 0: none
using TextureId = std::uint32_t;  // 0: none
using FontId = std::uint32_t;     // 0: none

}  // namespace vorlith
