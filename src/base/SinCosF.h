#pragma once

namespace vorlith {

// Single-precision sine and cosine computed exactly as the desktop's C library computes them
// on x86-64 with FMA (the double-precision polynomial of its sinf/cosf/sincosf, with the same
// fused multiply-adds), so the browser and Windows builds, whose own C libraries round
// differently, move everything to the same bits. Those builds link these in place of their
// library's sinf, cosf, sincosf and tanf; the Linux desktop keeps calling its C library.
float SinF(float x);
float CosF(float x);
void SinCosF(float x, float& sine, float& cosine);
// The tangent the same way: glibc's tanf reduces the argument as sinf does (without fused
// steps), then evaluates the classic single-precision tangent kernel in float arithmetic.
float TanF(float x);

}  // namespace vorlith
