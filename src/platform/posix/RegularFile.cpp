#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/portable/RegularFileRead.h"

namespace vorlith {
namespace {

long long ReadSomeOf(int fd, char* to, std::size_t size, std::string& why) {
  while (true) {
    const ssize_t got = read(fd, to, size);
    if (got >= 0) return got;
    if (errno != EINTR) {
      why = std::strerror(errno);
      return -1;
    }
  }
}

}  // namespace

RegularFile::Result RegularFile::Read(const std::string& path, std::size_t maxBytes,
                                      std::string& bytes, std::string& why) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    why = missing ? "no such file" : std::strerror(errno);
    return missing ? Result::Missing : Result::Refused;
  }
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  const Result result = ReadRegularFile(
      regular, regular ? static_cast<unsigned long long>(info.st_size) : 0, maxBytes,
      [fd](char* to, std::size_t size, std::string& reason) {
        return ReadSomeOf(fd, to, size, reason);
      },
      bytes, why);
  close(fd);
  return result;
}

}  // namespace vorlith
