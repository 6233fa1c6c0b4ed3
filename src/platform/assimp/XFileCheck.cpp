#include "platform/assimp/XFileCheck.h"

#include <zlib.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

namespace vorlith {
namespace {

constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kMaxTokens = 8u * 1024u * 1024u;
constexpr std::size_t kMaxBlockBytes = 32768;

// Other: punctuation that belongs in template declarations only.
enum class Kind : std::uint8_t { Name, String, Number, Open, Close, Guid, Template, Other };

struct Token {
  explicit Token(Kind kind, bool integer = false, double value = 0, std::string_view text = {})
      : kind(kind), integer(integer), value(value), text(text) {}
  Kind kind;
  bool integer;
  double value;
  std::string_view text;  // names only
};

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Dword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(Word(p)) | static_cast<std::uint32_t>(Word(p + 2)) << 16;
}

// MSZIP: after the total size, blocks of (uncompressed size, compressed size, "CK", deflate
// data); each block may refer back to the one before it.
bool Inflate(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& out,
             std::string& error) {
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
    if (out.size() + produced > XFileCheck::kMaxInflatedBytes) {
      error = "compressed .x file inflates too large";
      return false;
    }
    out.insert(out.end(), block.begin(), block.begin() + produced);
    previous = produced;
    at += compressed;
  }
  return true;
}

class Tokenizer {
 public:
  Tokenizer(const std::vector<std::uint8_t>& body, bool doubles, std::vector<Token>& tokens)
      : begin(body.data()), end(body.data() + body.size()), doubles(doubles), tokens(tokens) {}

  bool Text(std::string& error);
  bool Binary(std::string& error);

 private:
  bool Push(Token token, std::string& error) {
    separated = false;
    if (tokens.size() >= kMaxTokens) {
      error = ".x file has too many tokens";
      return false;
    }
    tokens.push_back(token);
    return true;
  }
  bool Need(const std::uint8_t* p, std::size_t bytes) const {
    return static_cast<std::size_t>(end - p) >= bytes;
  }

  const std::uint8_t* begin;
  const std::uint8_t* end;
  bool doubles;
  std::vector<Token>& tokens;
  bool separated = false;  // a ',' or ';' since the last token (text)
};

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

// Walks the objects and checks the declared sizes of those the importer trusts.
class Structure {
 public:
  explicit Structure(const std::vector<Token>& tokens) : tokens(tokens) {}

  bool Check(std::string& error) {
    while (at < tokens.size()) {
      if (!Item(0, std::nullopt, error)) return false;
    }
    return true;
  }

 private:
  bool Peek(std::size_t offset, Kind kind) const {
    return at + offset < tokens.size() && tokens[at + offset].kind == kind;
  }

  // One token or object at the current place inside a body (or at the top level).
  bool Item(int depth, std::optional<double> meshVertices, std::string& error) {
    const Token& token = tokens[at];
    if (token.kind == Kind::Template) return SkipBlock(error);
    if (token.kind == Kind::Name &&
        (Peek(1, Kind::Open) || (Peek(1, Kind::Name) && Peek(2, Kind::Open)))) {
      return Object(depth + 1, meshVertices, error);
    }
    if (token.kind == Kind::Open) return SkipBlock(error);  // a reference: { name }
    if (token.kind == Kind::Close) {
      error = "unbalanced '}' in .x file";
      return false;
    }
    if (token.kind == Kind::Other) {
      error = "stray punctuation outside a template in .x file";
      return false;
    }
    if (token.kind == Kind::Name) {  // names stand only before objects or in { references }
      error = "unexpected name '" + std::string(token.text) + "' in .x file";
      return false;
    }
    ++at;
    return true;
  }

  // Skips everything up to the close of the next block.
  bool SkipBlock(std::string& error) {
    int open = 0;
    for (; at < tokens.size(); ++at) {
      if (tokens[at].kind == Kind::Open) ++open;
      if (tokens[at].kind == Kind::Close && --open == 0) {
        ++at;
        return true;
      }
    }
    error = ".x file ends inside a block";
    return false;
  }

  bool Object(int depth, std::optional<double> meshVertices, std::string& error) {
    if (depth > XFileCheck::kMaxDepth) {
      error = ".x file nests objects too deeply";
      return false;
    }
    const std::string_view type = tokens[at].text;
    at += Peek(1, Kind::Name) ? 3 : 2;
    std::vector<double> numbers;
    std::vector<bool> integers;
    while (at < tokens.size() && tokens[at].kind != Kind::Close) {
      const Token& token = tokens[at];
      if (token.kind == Kind::Number) {
        numbers.push_back(token.value);
        integers.push_back(token.integer);
        ++at;
        continue;
      }
      std::optional<double> vertices = meshVertices;
      if (type == "Mesh" && !numbers.empty()) vertices = numbers[0];
      if (!Item(depth, vertices, error)) return false;
    }
    if (at >= tokens.size()) {
      error = ".x file ends inside a " + std::string(type) + " object";
      return false;
    }
    ++at;
    return Sizes(type, numbers, integers, meshVertices, error);
  }

  // Reads a count at numbers[k] that must leave room for count * perItem more numbers.
  static bool Count(const std::vector<double>& numbers, const std::vector<bool>& integers,
                    std::size_t& k, std::size_t perItem, std::size_t& count) {
    if (k >= numbers.size() || !integers[k] || numbers[k] < 0) return false;
    const std::size_t left = numbers.size() - k - 1;
    if (numbers[k] > static_cast<double>(left / perItem)) return false;
    count = static_cast<std::size_t>(numbers[k]);
    ++k;
    return true;
  }

  // Faces: count, then for each its corner count and corners, all below limit.
  static bool Faces(const std::vector<double>& numbers, const std::vector<bool>& integers,
                    std::size_t& k, double limit) {
    std::size_t faces = 0;
    if (!Count(numbers, integers, k, 1, faces)) return false;
    for (std::size_t f = 0; f < faces; ++f) {
      std::size_t corners = 0;
      if (!Count(numbers, integers, k, 1, corners)) return false;
      for (std::size_t c = 0; c < corners; ++c, ++k) {
        if (!(numbers[k] >= 0 && numbers[k] < limit)) return false;
      }
    }
    return true;
  }

  // The objects whose layout the importer trusts must hold exactly the numbers their
  // counts declare: a count that disagrees with its data shifts everything after it.
  static bool Sizes(std::string_view type, const std::vector<double>& n,
                    const std::vector<bool>& integers, std::optional<double> meshVertices,
                    std::string& error) {
    std::size_t k = 0, count = 0;
    bool ok = true;
    if (type == "Mesh" || type == "MeshNormals") {
      ok = Count(n, integers, k, 3, count);
      if (ok) {
        const double limit = static_cast<double>(count);
        k += 3 * count;
        ok = Faces(n, integers, k, limit);
      }
    } else if (type == "MeshTextureCoords") {
      ok = Count(n, integers, k, 2, count);
      k += 2 * count;
    } else if (type == "MeshVertexColors") {
      ok = Count(n, integers, k, 5, count);
      for (std::size_t i = 0; ok && i < count; ++i, k += 5) {
        ok = !meshVertices || (n[k] >= 0 && n[k] < *meshVertices);
      }
    } else if (type == "MeshMaterialList") {
      // The materials follow as objects, so their count is not checked against numbers.
      const bool known = k < n.size() && integers[k] && n[k] >= 0;
      const double materials = known ? n[k] : 0;
      ++k;
      ok = known && Count(n, integers, k, 1, count);
      for (std::size_t i = 0; ok && i < count; ++i, ++k) {
        ok = n[k] >= 0 && (materials == 0 || n[k] < materials);
      }
    } else if (type == "SkinWeights") {
      ok = Count(n, integers, k, 2, count);
      for (std::size_t i = 0; ok && i < count; ++i, ++k) {
        ok = n[k] >= 0 && (!meshVertices || n[k] < *meshVertices);
      }
      k += count + 16;  // the weights and the offset matrix
    } else if (type == "VertexDuplicationIndices") {
      ok = Count(n, integers, k, 1, count);
      k += 1 + count;
    } else if (type == "DeclData") {
      ok = Count(n, integers, k, 4, count);
      k += 4 * count;
      ok = ok && Count(n, integers, k, 1, count);
      k += count;
    } else if (type == "AnimationKey") {
      ok = k < n.size();
      ++k;
      ok = ok && Count(n, integers, k, 2, count);
      for (std::size_t i = 0; ok && i < count; ++i) {
        std::size_t values = 0;
        ++k;  // time
        ok = Count(n, integers, k, 1, values);
        k += values;
      }
    } else if (type == "Material") {
      k = 11;  // diffuse RGBA, power, specular RGB, emissive RGB
    } else if (type == "FrameTransformMatrix") {
      k = 16;
    } else {
      k = n.size();
    }
    if (!ok || k != n.size()) {
      error = "the sizes in a " + std::string(type) + " object do not fit its data";
      return false;
    }
    return true;
  }

  const std::vector<Token>& tokens;
  std::size_t at = 0;
};

}  // namespace

bool XFileCheck::Check(const std::vector<std::uint8_t>& file, std::string& error) {
  if (file.size() < kHeaderBytes || std::memcmp(file.data(), "xof ", 4) != 0) {
    error = "not a .x file";
    return false;
  }
  const std::string format(reinterpret_cast<const char*>(&file[8]), 4);
  const bool doubles = std::memcmp(&file[12], "0064", 4) == 0;
  std::vector<std::uint8_t> body;
  if (format == "tzip" || format == "bzip") {
    if (!Inflate(file, body, error)) return false;
  } else if (format == "txt " || format == "bin ") {
    body.assign(file.begin() + kHeaderBytes, file.end());
  } else {
    error = "unknown .x format '" + format + "'";
    return false;
  }
  std::vector<Token> tokens;
  Tokenizer tokenizer(body, doubles, tokens);
  const bool text = format == "txt " || format == "tzip";
  if (!(text ? tokenizer.Text(error) : tokenizer.Binary(error))) return false;
  return Structure(tokens).Check(error);
}

}  // namespace vorlith
