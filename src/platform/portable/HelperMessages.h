#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace vorlith {

// A message between the program and a helper process (posix/ and win32/ HelperProcess): its
// length in 8 bytes (the machine's order), then its bytes.
using WriteBytes = std::function<bool(const char* bytes, std::size_t size)>;  // all or false
using ReadBytes = std::function<bool(char* to, std::size_t size)>;            // all or false

bool SendFramed(const WriteBytes& write, const std::string& bytes);
// A message of at most maxBytes; its buffer grows only with the bytes that arrive.
bool ReceiveFramed(const ReadBytes& read, std::string& bytes, std::size_t maxBytes);

}  // namespace vorlith
