#pragma once

#include <string>

namespace vorlith {

// A message box's text as one line "caption: text" on stderr, flushed at once.
void PrintMessage(const std::string& caption, const std::string& text);

}  // namespace vorlith
