#pragma once

namespace vorlith {

struct WebKeyCode {
  int usage;         // as KeyboardState numbers keys
  const char* code;  // the page's KeyboardEvent.code
};

// The page's names of the keys a player can bind, and of E, D, S, F; iterable.
class WebKeyCodes {
 public:
  const WebKeyCode* begin() const;
  const WebKeyCode* end() const;
  static int UsageOf(const char* code);  // 0 for a key not listed
};

}  // namespace vorlith
