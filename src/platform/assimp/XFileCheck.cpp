#include "platform/assimp/XFileCheck.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "base/Utf8.h"
#include "platform/assimp/XFileTokenizer.h"

namespace vorlith {
namespace {

using xfile::kHeaderBytes;
using xfile::Kind;
using xfile::Token;

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
      error = "unexpected name '" + EscapeForMessage(std::string(token.text)) + "' in .x file";
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
      error = ".x file ends inside a " + EscapeForMessage(std::string(type)) + " object";
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
      error =
          "the sizes in a " + EscapeForMessage(std::string(type)) + " object do not fit its data";
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
    if (!xfile::Inflate(file, kMaxInflatedBytes, body, error)) return false;
  } else if (format == "txt " || format == "bin ") {
    body.assign(file.begin() + kHeaderBytes, file.end());
  } else {
    error = "unknown .x format '" + EscapeForMessage(format) + "'";
    return false;
  }
  std::vector<Token> tokens;
  xfile::Tokenizer tokenizer(body, doubles, tokens);
  const bool text = format == "txt " || format == "tzip";
  if (!(text ? tokenizer.Text(error) : tokenizer.Binary(error))) return false;
  return Structure(tokens).Check(error);
}

}  // namespace vorlith
