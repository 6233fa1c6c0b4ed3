#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace vorlith {

FileLock::FileLock(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  handle = fd;
  int result;
  while ((result = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  held = result == 0;
}

FileLock::~FileLock() {
  if (handle >= 0) close(static_cast<int>(handle));  // closing releases the lock
}

}  // namespace vorlith
