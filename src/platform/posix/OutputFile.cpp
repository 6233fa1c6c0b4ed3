#include "platform/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Utf8.h"

namespace vorlith {

OutputFile::~OutputFile() {
  Close();
}

bool OutputFile::Open(const std::string& path, std::string& error) {
  Close();
  this->path = path;
  failed = false;
  file = std::fopen(path.c_str(), "wb");
  if (file) return true;
  error = EscapeForMessage(path) + ": cannot write the " + what + ": " + std::strerror(errno);
  return false;
}

bool OutputFile::CanCreate(const std::string& path, std::string& error) const {
  int reason = 0;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      reason = EISDIR;
    } else if (access(path.c_str(), W_OK) != 0) {
      reason = errno;
    }
  } else if (errno != ENOENT) {
    reason = errno;
  } else {
    const std::size_t slash = path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? "."
                                  : slash == 0               ? "/"
                                                             : path.substr(0, slash);
    if (access(directory.c_str(), W_OK | X_OK) != 0) reason = errno;
  }
  if (reason == 0) return true;
  error = EscapeForMessage(path) + ": cannot write the " + what + ": " + std::strerror(reason);
  return false;
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
