#pragma once

#include <filesystem>
#include <string>

namespace vorlith {

// Code points of a UTF-8 string. Malformed, overlong or truncated sequences and surrogates
// come out as U+FFFD, one per bad byte, so any byte string can be drawn or measured.
std::u32string DecodeUtf8(const std::string& utf8);

// Bytes from a user's file or command line made safe to print in a one-line message:
// printable UTF-8 stays as it is; control characters and bytes that are not UTF-8 become
// \xNN, one per byte.
std::string EscapeForMessage(const std::string& bytes);

// A file system path named by UTF-8 bytes, and a path's name as UTF-8: on Windows the narrow
// strings of std::filesystem are in the C library's code page. Bytes that are not UTF-8 are
// taken as the system's narrow name.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace vorlith
