#include "platform/FileLock.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace vorlith {

FileLock::FileLock(const std::string& path) {
  const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle = reinterpret_cast<std::intptr_t>(file);
  OVERLAPPED whole{};
  held = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

FileLock::~FileLock() {
  if (handle != -1) CloseHandle(reinterpret_cast<HANDLE>(handle));  // closing unlocks
}

}  // namespace vorlith
