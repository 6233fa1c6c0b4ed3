#pragma once

namespace vorlith {

// Single-precision arc cosine computed as the desktop's C library computes it (the classic
// single-precision rational approximation, in float arithmetic), so the browser and Windows
// builds, whose own C libraries round differently, aim at the same bits. Those builds link it
// in place of their library's acosf; the Linux desktop keeps calling its C library.
float AcosF(float x);

}  // namespace vorlith
