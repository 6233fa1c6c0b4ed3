#pragma once

#include "base/RenderTypes.h"

namespace vorlith {

// Left-handed matrix helpers in the row-vector convention (a point p becomes p * m).

Matrix MatrixIdentity();
// a * b: a point is transformed by a first, then by b.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
Matrix MatrixScaling(float sx, float sy, float sz);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixRotationX(float radians);
Matrix MatrixRotationY(float radians);
Matrix MatrixRotationZ(float radians);
// View matrix of a camera at eye looking at at, with up giving the screen's upward direction.
Matrix MatrixLookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up);
// Orthographic projection of a width x height box, depth zNear..zFar mapped to 0..1.
Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar);

// Unit vector in the direction of v; the zero vector stays zero.
Vec3 Vec3Normalize(const Vec3& v);
Vec3 Vec3Cross(const Vec3& a, const Vec3& b);
float Vec3Dot(const Vec3& a, const Vec3& b);
// p * m with the result divided by its w.
Vec3 Vec3TransformCoord(const Vec3& p, const Matrix& m);

}  // namespace vorlith
