#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlith {
namespace xfile {

constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kMaxTokens = 8u * 1024u * 1024u;

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

// Inflates a compressed (tzip/bzip) file's body, header excluded, refusing more than
// maxBytes of output.
bool Inflate(const std::vector<std::uint8_t>& file, std::size_t maxBytes,
             std::vector<std::uint8_t>& out, std::string& error);

// Splits a text or binary body into the tokens the structure check walks; refuses a file
// with more than kMaxTokens of them.
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

}  // namespace xfile
}  // namespace vorlith
