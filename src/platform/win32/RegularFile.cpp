#include "platform/RegularFile.h"

#include <windows.h>

#include <algorithm>

#include "platform/portable/RegularFileRead.h"
#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

constexpr DWORD kMaxChunk = 1u << 30;

long long ReadSomeOf(HANDLE file, char* to, std::size_t size, std::string& why) {
  DWORD got = 0;
  if (!ReadFile(file, to, static_cast<DWORD>(std::min<std::size_t>(kMaxChunk, size)), &got,
                nullptr)) {
    why = SystemMessage(GetLastError());
    return -1;
  }
  return got;
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
  const bool regular =
      GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && GetFileSizeEx(file, &size);
  const Result result = ReadRegularFile(
      regular, regular ? static_cast<unsigned long long>(size.QuadPart) : 0, maxBytes,
      [file](char* to, std::size_t count, std::string& reason) {
        return ReadSomeOf(file, to, count, reason);
      },
      bytes, why);
  CloseHandle(file);
  return result;
}

}  // namespace vorlith
