// The part of FileIdentity the systems share: posix/ and win32/ find a path's identity.
#include "platform/FileIdentity.h"

namespace vorlith {

FileIdentity FileIdentity::Existing(unsigned long long deviceId, unsigned long long inode) {
  FileIdentity identity;
  identity.exists = true;
  identity.deviceId = deviceId;
  identity.inode = inode;
  return identity;
}

// An existing file is known by its device and inode, which are left 0 where the system has
// none (a Windows console or device: known by its full path then, as a file yet to be made).
bool FileIdentity::operator==(const FileIdentity& other) const {
  return exists == other.exists && deviceId == other.deviceId && inode == other.inode &&
         resolved == other.resolved;
}

}  // namespace vorlith
