#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorlith {
namespace {

bool ReadAll(int fd, std::string& bytes, std::string& why) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(fd, &bytes[done], bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      why = std::strerror(errno);
      return false;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);  // a file cut short while it was read gives what it held
  return true;
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
  bool read = false;
  Result failure = Result::Refused;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    why = "not a regular file";
  } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    why = std::to_string(info.st_size) + " bytes, more than " + std::to_string(maxBytes);
    failure = Result::TooLarge;
  } else {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    read = ReadAll(fd, bytes, why);
  }
  close(fd);
  return read ? Result::Read : failure;
}

}  // namespace vorlith
