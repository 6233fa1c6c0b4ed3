#pragma once

#include <algorithm>
#include <climits>

namespace vorlith {

// Window sizes come from the command line and may be any int: placement arithmetic is done
// in 64 bits and only the result is brought back into the range of int.
inline int ClampToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Where a span of `inner` starts when centred in `outer`.
inline int CentredStart(long long outer, long long inner) {
  return ClampToInt((outer - inner) / 2);
}

}  // namespace vorlith
