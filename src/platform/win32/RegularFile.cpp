#include "platform/RegularFile.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

constexpr DWORD kMaxChunk = 1u << 30;

bool ReadAll(HANDLE file, std::string& bytes, std::string& why) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kMaxChunk, bytes.size() - done));
    DWORD got = 0;
    if (!ReadFile(file, &bytes[done], want, &got, nullptr)) {
      why = SystemMessage(GetLastError());
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);  // a file cut short while it was read gives what it held
  return true;
}

}  // namespace

// Only a disk file that is not a directory is read: a pipe, a console or a device is
// refused before any read could wait on it.
RegularFile::Result RegularFile::Read(const std::string& path, std::size_t maxBytes,
                                      std::string& bytes, std::string& why) {
  bytes.clear();
  const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    why = missing ? "no such file" : SystemMessage(error);
    return missing ? Result::Missing : Result::Refused;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  bool read = false;
  Result failure = Result::Refused;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !GetFileSizeEx(file, &size)) {
    why = "not a regular file";
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    why = std::to_string(size.QuadPart) + " bytes, more than " + std::to_string(maxBytes);
    failure = Result::TooLarge;
  } else {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    read = ReadAll(file, bytes, why);
  }
  CloseHandle(file);
  return read ? Result::Read : failure;
}

}  // namespace vorlith
