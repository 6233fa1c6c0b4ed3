#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>

namespace vorlith {

// A file the program writes (a trace, a recording, a screenshot). Every write, the final
// flush and the close are checked. The first failure prints one line on stderr naming the
// file and the system's reason ("vorlith: FILE: cannot write the trace: No space left on
// device"); later writes are dropped, so whatever is running can go on.
class OutputFile {
 public:
  explicit OutputFile(std::string what) : what(std::move(what)) {}
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False when the file cannot be created; `error` then names it and the reason (nothing is
  // printed: the caller decides whether that ends the program).
  bool Open(const std::string& path, std::string& error);
  // Whether Open could create the file, found without touching it: an existing file must be
  // writable and not a directory, a new one needs a writable directory. False with `error`
  // as Open gives it.
  bool CanCreate(const std::string& path, std::string& error) const;
  void Write(const void* data, std::size_t size);
  void Write(const std::string& text) { Write(text.data(), text.size()); }
  // Hands what was written so far to the system, so a reader following the file sees it.
  void Flush();
  // Flushes and closes; false if anything since Open failed.
  bool Close();

  bool IsOpen() const { return file != nullptr; }
  bool HasFailed() const { return failed; }

 private:
  void Fail(int error);

  std::string what;  // "trace", "replay", ...
  std::string path;
  std::FILE* file = nullptr;
  bool failed = false;
};

}  // namespace vorlith
