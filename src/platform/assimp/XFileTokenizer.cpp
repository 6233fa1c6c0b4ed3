#include "platform/assimp/XFileTokenizer.h"

#include <zlib.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace vorlith {
namespace xfile {
namespace {

constexpr std::size_t kMaxBlockBytes = 32768;

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Dword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(Word(p)) | static_cast<std::uint32_t>(Word(p + 2)) << 16;
}

// What may follow a number or a name in a text file: the importer reads a token up to the
// next space or separator.
bool EndsToken(std::uint8_t c) {
  return std::isspace(c) || c == ',' || c == ';' || c == '{' || c == '}' || c == '[' || c == ']';
}

// A digit, or a sign or point before one ("[...]" in templates is punctuation).
bool StartsNumber(const std::uint8_t* p, const std::uint8_t* end) {
  if (std::isdigit(*p)) return true;
  if (*p != '-' && *p != '+' && *p != '.') return false;
  const std::uint8_t* q = p + 1;
  if (q < end && *q == '.' && *p != '.') ++q;
  return q < end && std::isdigit(*q);
}

bool IsNameChar(std::uint8_t c) {
  return std::isalnum(c) || c == '_' || c == '-' || c == '.';
}

}  // namespace

// MSZIP: after the total size, blocks of (uncompressed size, compressed size, "CK", deflate
// data); each block may refer back to the one before it.
bool Inflate(const std::vector<std::uint8_t>& file, std::size_t maxBytes,
             std::vector<std::uint8_t>& out, std::string& error) {
  std::size_t at = kHeaderBytes + 4;
  if (file.size() < at) {
    error = "compressed .x file ends in its header";
    return false;
  }
  std::vector<std::uint8_t> block(kMaxBlockBytes);
  std::size_t previous = 0;
  while (at + 4 <= file.size()) {
    const std::size_t compressed = Word(&file[at + 2]);
    at += 4;
    if (compressed < 2 || at + compressed > file.size() || file[at] != 'C' || file[at + 1] != 'K') {
      error = "broken compressed block in .x file";
      return false;
    }
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
      error = "cannot start inflating";
      return false;
    }
    if (previous > 0) inflateSetDictionary(&stream, out.data() + out.size() - previous, previous);
    stream.next_in = const_cast<Bytef*>(&file[at + 2]);
    stream.avail_in = static_cast<uInt>(compressed - 2);
    stream.next_out = block.data();
    stream.avail_out = static_cast<uInt>(block.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = block.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END && result != Z_BUF_ERROR && result != Z_OK) {
      error = "cannot inflate compressed .x file";
      return false;
    }
    if (out.size() + produced > maxBytes) {
      error = "compressed .x file inflates too large";
      return false;
    }
    out.insert(out.end(), block.begin(), block.begin() + produced);
    previous = produced;
    at += compressed;
  }
  return true;
}

bool Tokenizer::Text(std::string& error) {
  const std::uint8_t* p = begin;
  separated = false;
  while (p < end) {
    const std::uint8_t c = *p;
    if (c == ',' || c == ';') separated = true;
    if (c == ',') {
      // A comma separates two values: another separator right after it is malformed.
      const std::uint8_t* q = p + 1;
      while (q < end && std::isspace(*q)) ++q;
      if (q < end && (*q == ',' || *q == ';')) {
        error = "malformed separators in .x file";
        return false;
      }
      ++p;
    } else if (std::isspace(c) || c == ';') {
      ++p;
    } else if (c == '#' || (c == '/' && p + 1 < end && p[1] == '/')) {
      while (p < end && *p != '\n') ++p;
    } else if (c == '{' || c == '}') {
      if (!Push(Token{c == '{' ? Kind::Open : Kind::Close}, error)) return false;
      ++p;
    } else if (c == '"' || c == '<') {
      const std::uint8_t close = c == '"' ? '"' : '>';
      const void* found = std::memchr(p + 1, close, static_cast<std::size_t>(end - p - 1));
      if (!found) {
        error = c == '"' ? "unterminated string in .x file" : "unterminated GUID in .x file";
        return false;
      }
      if (!Push(Token{c == '"' ? Kind::String : Kind::Guid}, error)) return false;
      p = static_cast<const std::uint8_t*>(found) + 1;
    } else if (StartsNumber(p, end)) {
      if (!tokens.empty() && tokens.back().kind == Kind::Number && !separated) {
        error = "numbers without a separator between them in .x file";
        return false;
      }
      const std::uint8_t* q = p;
      bool integer = true;
      while (q < end &&
             (std::isdigit(*q) || *q == '-' || *q == '+' || *q == '.' || *q == 'e' || *q == 'E')) {
        if (!std::isdigit(*q) && !(q == p && (*q == '-' || *q == '+'))) integer = false;
        ++q;
      }
      if (q < end && !EndsToken(*q)) {
        error = "malformed number in .x file";
        return false;
      }
      Token token(Kind::Number, integer);
      const char* first = reinterpret_cast<const char*>(p + (*p == '+' ? 1 : 0));
      const char* last = reinterpret_cast<const char*>(q);
      const auto [stop, result] = std::from_chars(first, last, token.value);
      if (result != std::errc() || stop != last) {
        error = "malformed number in .x file";
        return false;
      }
      if (!Push(token, error)) return false;
      p = q;
    } else if (std::isalpha(c) || c == '_') {
      const std::uint8_t* q = p;
      while (q < end && IsNameChar(*q)) ++q;
      if (q < end && !EndsToken(*q)) {
        error = "malformed name in .x file";
        return false;
      }
      Token token(Kind::Name);
      token.text = std::string_view(reinterpret_cast<const char*>(p), q - p);
      if (token.text == "template") token.kind = Kind::Template;
      if (!Push(token, error)) return false;
      p = q;
    } else {
      if (!Push(Token(Kind::Other), error)) return false;
      ++p;
    }
  }
  return true;
}

bool Tokenizer::Binary(std::string& error) {
  const std::uint8_t* p = begin;
  const std::size_t floatBytes = doubles ? 8 : 4;
  while (p < end) {
    if (!Need(p, 2)) break;  // a stray last byte
    const std::uint16_t id = Word(p);
    p += 2;
    std::size_t count = 0;
    switch (id) {
      case 1:  // name
      case 2:  // string
        if (!Need(p, 4) || !Need(p + 4, Dword(p))) {
          error = "binary .x file ends inside a name";
          return false;
        }
        count = Dword(p);
        {
          Token token(id == 1 ? Kind::Name : Kind::String);
          token.text = std::string_view(reinterpret_cast<const char*>(p + 4), count);
          if (!Push(token, error)) return false;
        }
        p += 4 + count;
        break;
      case 3:  // integer
        if (!Need(p, 4)) {
          error = "binary .x file ends inside an integer";
          return false;
        }
        if (!Push(Token{Kind::Number, true, static_cast<double>(Dword(p))}, error)) return false;
        p += 4;
        break;
      case 5:  // GUID
        if (!Need(p, 16)) {
          error = "binary .x file ends inside a GUID";
          return false;
        }
        if (!Push(Token{Kind::Guid}, error)) return false;
        p += 16;
        break;
      case 6:    // integer list
      case 7: {  // float list
        const std::size_t size = id == 6 ? 4 : floatBytes;
        if (!Need(p, 4) || Dword(p) > static_cast<std::size_t>(end - p - 4) / size) {
          error = "binary .x file declares a list longer than the file";
          return false;
        }
        count = Dword(p);
        p += 4;
        for (std::size_t i = 0; i < count; ++i, p += size) {
          double value = 0;
          if (id == 6) {
            value = Dword(p);
          } else if (size == 4) {
            float f;
            std::memcpy(&f, p, 4);
            value = f;
          } else {
            std::memcpy(&value, p, 8);
          }
          if (!Push(Token{Kind::Number, id == 6, value}, error)) return false;
        }
        break;
      }
      case 10:
      case 11:
        if (!Push(Token{id == 10 ? Kind::Open : Kind::Close}, error)) return false;
        break;
      case 31:
        if (!Push(Token{Kind::Template}, error)) return false;
        break;
      case 19:  // comma
      case 20:  // semicolon
        break;
      default:
        if ((id >= 12 && id <= 18) || (id >= 40 && id <= 53)) {  // template punctuation, types
          if (!Push(Token(Kind::Other), error)) return false;
          break;
        }
        error = "unknown token " + std::to_string(id) + " in binary .x file";
        return false;
    }
  }
  return true;
}

}  // namespace xfile
}  // namespace vorlith
