#include "platform/PlayerFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorlith {
namespace {

std::string Reason(const std::string& path, const char* doing) {
  return path + ": cannot " + doing + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// The folder's entry of the renamed file reaches the disk too.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

// link() fails on an existing name, so two programs never take the same one; where the file
// system has no links (the page's) the name is checked first.
// False with errno EEXIST when the name is taken.
bool RenameToUnused(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) == 0) return unlink(from.c_str()) == 0;
  if (errno == EEXIST) return false;
  if (Exists(to)) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool WriteFileWhole(const std::string& path, const std::string& bytes, std::string& why) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(&temporary[0]);
  if (fd < 0) {
    why = Reason(path, "create a temporary file beside it");
    return false;
  }
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  if (!written) why = Reason(path, "write");
  const bool closed = close(fd) == 0;
  if (written && !closed) why = Reason(path, "write");
  if (!written || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
    if (written && closed) why = Reason(path, "replace");
    unlink(temporary.c_str());
    return false;
  }
  SyncFolderOf(path);
  SyncPlayerFiles();
  return true;
}

std::string KeepFileAside(const std::string& path, std::string& why) {
  for (int n = 1; n <= 999; ++n) {
    const std::string aside = path + ".bad" + (n == 1 ? "" : "-" + std::to_string(n));
    if (RenameToUnused(path, aside)) {
      SyncPlayerFiles();
      return aside;
    }
    if (errno != EEXIST) break;
  }
  why = Reason(path, "rename it aside");
  return "";
}

bool RemovePlayerFile(const std::string& path, std::string& why) {
  if (unlink(path.c_str()) != 0 && errno != ENOENT) {
    why = Reason(path, "remove");
    return false;
  }
  SyncPlayerFiles();
  return true;
}

}  // namespace vorlith
