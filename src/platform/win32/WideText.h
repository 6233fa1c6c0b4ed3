#pragma once

#include <string>

namespace vorlith {

// UTF-8 (the game's strings) to UTF-16 (the wide Win32 calls) and back; invalid sequences
// become U+FFFD.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
// The system's words for a Win32 error code, without the closing period and line break.
std::string SystemMessage(unsigned long error);

}  // namespace vorlith
