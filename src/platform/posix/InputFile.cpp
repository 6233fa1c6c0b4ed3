#include "platform/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorlith {

InputFile::~InputFile() {
  Close();
}

bool InputFile::IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool InputFile::Open(const std::string& path, std::string& reason) {
  Close();
  handle = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (handle < 0 || fstat(handle, &info) != 0) {
    reason = std::strerror(errno);
    Close();
    return false;
  }
  regular = S_ISREG(info.st_mode);
  return true;
}

bool InputFile::Rewind(std::string& reason) {
  if (lseek(handle, 0, SEEK_SET) == 0) return true;
  reason = std::strerror(errno);
  return false;
}

long InputFile::Read(char* buffer, std::size_t size, std::string& reason) {
  ssize_t got;
  do {
    got = read(handle, buffer, size);
  } while (got < 0 && errno == EINTR);
  if (got < 0) reason = std::strerror(errno);
  return static_cast<long>(got);
}

void InputFile::Close() {
  if (handle >= 0) close(handle);
  handle = -1;
  regular = false;
}

}  // namespace vorlith
