#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/RegularFile.h"

namespace vorlith {

// Gives the bytes it read into to (at most size), 0 at the file's end, or -1 with why set.
using ReadSome = std::function<long long(char* to, std::size_t size, std::string& why)>;

// What RegularFile::Read does once posix/ or win32/ has opened the file and asked the system
// whether it is a regular file and how large: anything else, or more than maxBytes, is refused
// with the reason in why; else the file is read whole into bytes (a file cut short while it
// is read gives what it held). Read, TooLarge (more than maxBytes) or Refused.
RegularFile::Result ReadRegularFile(bool regular, unsigned long long size, std::size_t maxBytes,
                                    const ReadSome& readSome, std::string& bytes, std::string& why);

}  // namespace vorlith
