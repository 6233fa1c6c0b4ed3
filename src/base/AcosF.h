#pragma once

namespace vorlith {

// Single-precision arc cosine computed as the desktop's C library computes it (the classic
// single-precision rational approximation, in float arithmetic), so the browser build, whose
// own C library rounds differently, aims at the same bits. The browser build links it in
// place of its library's acosf; the desktop keeps calling its C library.
float AcosF(float x);

}  // namespace vorlith
