#include "platform/OutputFile.h"

#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/Utf8.h"
#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

constexpr int kWritable = 2;  // _waccess's mode

// The directory a new file of path would be created in ("." for a bare name).
std::string DirectoryPart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

}  // namespace

bool OutputFile::Open(const std::string& path, std::string& error) {
  Close();
  this->path = path;
  failed = false;
  file = _wfopen(Widen(path).c_str(), L"wbN");
  if (file) return true;
  error = EscapeForMessage(path) + ": cannot write the " + what + ": " + std::strerror(errno);
  return false;
}

bool OutputFile::CanCreate(const std::string& path, std::string& error) const {
  int reason = 0;
  struct _stat64 info {};
  const std::wstring wide = Widen(path);
  if (_wstat64(wide.c_str(), &info) == 0) {
    if ((info.st_mode & _S_IFMT) == _S_IFDIR) {
      reason = EISDIR;
    } else if (_waccess(wide.c_str(), kWritable) != 0) {
      reason = errno;
    }
  } else if (errno != ENOENT) {
    reason = errno;
  } else {
    struct _stat64 directory {};
    if (_wstat64(Widen(DirectoryPart(path)).c_str(), &directory) != 0) {
      reason = errno;
    } else if ((directory.st_mode & _S_IFMT) != _S_IFDIR) {
      reason = ENOTDIR;
    }
  }
  if (reason == 0) return true;
  error = EscapeForMessage(path) + ": cannot write the " + what + ": " + std::strerror(reason);
  return false;
}

}  // namespace vorlith
