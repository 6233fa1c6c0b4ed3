#include "platform/FileIdentity.h"

#include <windows.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

// The full path a new file would get, folded to one case (the file systems ignore case).
std::string FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return Narrow(path);
  std::vector<wchar_t> full(size);
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return Narrow(path);
  CharUpperBuffW(full.data(), length);
  return Narrow(std::wstring(full.data(), length));
}

}  // namespace

// An existing file is known by its volume's serial number and its index on that volume
// (links followed, as opening the file follows them).
FileIdentity::FileIdentity(const std::string& path) {
  const std::wstring wide = Widen(path);
  const HANDLE file =
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info{};
    const bool character = GetFileType(file) == FILE_TYPE_CHAR;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (character) {
      exists = true;
      device = true;
      resolved = FullPath(wide);
      return;
    }
    if (known) {
      exists = true;
      deviceId = info.dwVolumeSerialNumber;
      inode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
      return;
    }
  }
  resolved = FullPath(wide);
}

}  // namespace vorlith
