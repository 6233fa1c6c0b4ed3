#pragma once

#include <cstddef>
#include <string>

namespace vorlith {

// A file read from its start in pieces (a replay). Reasons are the system's words ("No such
// file or directory").
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // True when path names a directory.
  static bool IsDirectory(const std::string& path);

  // False with `reason` when the file cannot be opened.
  bool Open(const std::string& path, std::string& reason);
  // A regular file, which can be read again from its start; a pipe, a FIFO or a terminal
  // is read once.
  bool IsRegular() const { return regular; }
  // Back to the start of a regular file; false with `reason` when that fails.
  bool Rewind(std::string& reason);
  // Up to size bytes into buffer: how many were read, 0 at the end, -1 with `reason` when
  // the read failed.
  long Read(char* buffer, std::size_t size, std::string& reason);
  void Close();
  bool IsOpen() const { return handle >= 0; }

 private:
  int handle = -1;
  bool regular = false;
};

}  // namespace vorlith
