// The part of OutputFile that only uses the C stream Open made (posix/ and win32/ open it).
#include "platform/OutputFile.h"

#include <cerrno>
#include <cstring>

#include "base/Utf8.h"

namespace vorlith {

OutputFile::~OutputFile() {
  Close();
}

void OutputFile::Write(const void* data, std::size_t size) {
  if (!file || failed || size == 0) return;
  errno = 0;
  if (std::fwrite(data, 1, size, file) != size) Fail(errno ? errno : EIO);
}

void OutputFile::Flush() {
  if (!file || failed) return;
  errno = 0;
  if (std::fflush(file) != 0) Fail(errno ? errno : EIO);
}

bool OutputFile::Close() {
  if (!file) return !failed;
  errno = 0;
  const bool flushed = std::fflush(file) == 0;
  const int flushError = errno;
  errno = 0;
  const bool closed = std::fclose(file) == 0;
  const int closeError = errno;
  file = nullptr;
  if (!flushed) Fail(flushError ? flushError : EIO);
  if (!closed) Fail(closeError ? closeError : EIO);
  return !failed;
}

void OutputFile::Fail(int error) {
  if (failed) return;
  failed = true;
  std::fprintf(stderr, "vorlith: %s: cannot write the %s: %s\n", EscapeForMessage(path).c_str(),
               what.c_str(), std::strerror(error));
  std::fflush(stderr);
}

}  // namespace vorlith
