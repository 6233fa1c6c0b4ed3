#include "platform/FileIdentity.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlith {
namespace {

constexpr int kMaxLinks = 40;

std::string DirectoryPart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a dangling symbolic link (or a chain of them) would create its file.
std::string FollowLinks(std::string path) {
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0) break;
    const std::string next(target, static_cast<std::size_t>(length));
    path = next[0] == '/' ? next : DirectoryPart(path) + "/" + next;
  }
  return path;
}

}  // namespace

FileIdentity::FileIdentity(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    exists = true;
    device = S_ISCHR(info.st_mode);
    deviceId = info.st_dev;
    inode = info.st_ino;
    return;
  }
  const std::string target = FollowLinks(path);
  std::string directory = DirectoryPart(target);
  char real[PATH_MAX];
  if (realpath(directory.c_str(), real)) directory = real;
  resolved = directory + "/" + NamePart(target);
}

}  // namespace vorlith
