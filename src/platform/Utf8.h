#pragma once

#include <string>

namespace vorlith {

// Code points of a UTF-8 string. Malformed, overlong or truncated sequences and surrogates
// come out as U+FFFD, one per bad byte, so any byte string can be drawn or measured.
std::u32string DecodeUtf8(const std::string& utf8);

}  // namespace vorlith
