#include "base/Utf8.h"

#include <cstddef>
#include <exception>

namespace vorlith {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes one sequence at i; false when it is malformed.
bool DecodeOne(const std::string& s, std::size_t i, int length, char32_t& out) {
  if (i + length > s.size()) return false;
  const auto lead = static_cast<unsigned char>(s[i]);
  char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  out = cp;
  return true;
}

}  // namespace

std::u32string DecodeUtf8(const std::string& utf8) {
  std::u32string result;
  result.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const int length = SequenceLength(static_cast<unsigned char>(utf8[i]));
    char32_t cp = 0;
    if (length > 0 && DecodeOne(utf8, i, length, cp)) {
      result.push_back(cp);
      i += length;
    } else {
      result.push_back(kReplacement);
      ++i;
    }
  }
  return result;
}

std::string EscapeForMessage(const std::string& bytes) {
  std::string result;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const int length = SequenceLength(static_cast<unsigned char>(bytes[i]));
    char32_t cp = 0;
    const bool valid = length > 0 && DecodeOne(bytes, i, length, cp);
    const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
    if (valid && !control) {
      result.append(bytes, i, length);
      i += length;
      continue;
    }
    const int bad = valid ? length : 1;
    for (int k = 0; k < bad; ++k, ++i) {
      static constexpr char kHex[] = "0123456789abcdef";
      const auto byte = static_cast<unsigned char>(bytes[i]);
      result += "\\x";
      result += kHex[byte >> 4];
      result += kHex[byte & 15];
    }
  }
  return result;
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  try {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  } catch (const std::exception&) {
    return std::filesystem::path(utf8);
  }
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace vorlith
