#pragma once

#include <cstddef>
#include <string>

namespace vorlith {

// Reading a file the program did not write and cannot trust to be a plain file: it is opened
// without waiting (a FIFO would stall the program until someone wrote to it) and read whole
// only when it is a regular file of at most maxBytes, so a link to a device cannot make it
// read without end.
class RegularFile {
 public:
  enum class Result { Read, Missing, Refused, TooLarge };

  // Missing: no such file (why says so). TooLarge: more than maxBytes ("N bytes, more than
  // M"). Refused: anything else that stops the read, with the reason in why ("not a regular
  // file", the system's reason).
  static Result Read(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& why);
};

}  // namespace vorlith
