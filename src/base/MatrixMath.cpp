#include "base/MatrixMath.h"

#include <cmath>

namespace vorlith {

Matrix MatrixIdentity() {
  return Matrix{};
}

Matrix MatrixMultiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][col];
      r.m[row][col] = sum;
    }
  }
  return r;
}

Matrix MatrixScaling(float sx, float sy, float sz) {
  Matrix r;
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  return r;
}

Matrix MatrixTranslation(float x, float y, float z) {
  Matrix r;
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

Matrix MatrixRotationX(float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  Matrix r;
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

Matrix MatrixRotationY(float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  Matrix r;
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

Matrix MatrixRotationZ(float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  Matrix r;
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

Matrix MatrixLookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up) {
  const Vec3 zAxis = Vec3Normalize({at.x - eye.x, at.y - eye.y, at.z - eye.z});
  const Vec3 xAxis = Vec3Normalize(Vec3Cross(up, zAxis));
  const Vec3 yAxis = Vec3Cross(zAxis, xAxis);
  Matrix r;
  const Vec3 axes[3] = {xAxis, yAxis, zAxis};
  for (int col = 0; col < 3; ++col) {
    r.m[0][col] = axes[col].x;
    r.m[1][col] = axes[col].y;
    r.m[2][col] = axes[col].z;
    r.m[3][col] = -Vec3Dot(axes[col], eye);
  }
  return r;
}

Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar) {
  Matrix r;
  r.m[0][0] = 2.0f / width;
  r.m[1][1] = 2.0f / height;
  r.m[2][2] = 1.0f / (zFar - zNear);
  r.m[3][2] = zNear / (zNear - zFar);
  return r;
}

Vec3 Vec3Normalize(const Vec3& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0f) return Vec3{};
  return {v.x / length, v.y / length, v.z / length};
}

Vec3 Vec3Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Vec3Dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Vec3TransformCoord(const Vec3& p, const Matrix& m) {
  float out[4];
  for (int col = 0; col < 4; ++col) {
    out[col] = p.x * m.m[0][col] + p.y * m.m[1][col] + p.z * m.m[2][col] + m.m[3][col];
  }
  const float w = out[3] != 0.0f ? out[3] : 1.0f;
  return {out[0] / w, out[1] / w, out[2] / w};
}

}  // namespace vorlith
