#include "platform/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Utf8.h"

namespace vorlith {

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

}  // namespace vorlith
