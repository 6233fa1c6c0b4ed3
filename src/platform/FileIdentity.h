#pragma once

#include <string>

namespace vorlith {

// Which file a path names, by identity rather than by spelling: the device and inode of a
// file that exists, else the resolved directory and name it would be created under
// (symbolic links followed either way).
class FileIdentity {
 public:
  explicit FileIdentity(const std::string& path);
  // A file that exists, known by its device and inode.
  static FileIdentity Existing(unsigned long long deviceId, unsigned long long inode);

  // Character devices (/dev/null, a terminal) can serve several roles without harm.
  bool IsSharable() const { return device; }
  bool operator==(const FileIdentity& other) const;

 private:
  FileIdentity() = default;

  bool exists = false;
  bool device = false;
  unsigned long long deviceId = 0, inode = 0;
  std::string resolved;  // for a file that does not exist yet
};

}  // namespace vorlith
