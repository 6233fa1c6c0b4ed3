#include "platform/PlayerFiles.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

std::string Reason(const std::string& path, const char* doing) {
  return path + ": cannot " + doing + ": " + SystemMessage(GetLastError());
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, want, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

bool MakeFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

// Both folders are %APPDATA%\Vorlith (the roaming application data).
std::string PlayerFolderPath(PlayerFolder, std::string& why) {
  wchar_t base[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", base, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    why = "APPDATA names no folder";
    return "";
  }
  const std::wstring folder = std::wstring(base) + L"\\Vorlith";
  if (!MakeFolder(folder)) {
    why = Reason(Narrow(folder), "create the folder");
    return "";
  }
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    why = Narrow(folder) + ": not a folder";
    return "";
  }
  return Narrow(folder);
}

bool WriteFileWhole(const std::string& path, const std::string& bytes, std::string& why) {
  const std::wstring target = Widen(path);
  const std::wstring temporary = target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount64());
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why = Reason(path, "create a temporary file beside it");
    return false;
  }
  const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
  if (!written) why = Reason(path, "write");
  CloseHandle(file);
  if (written && !MoveFileExW(temporary.c_str(), target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    why = Reason(path, "replace");
  } else if (written) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

std::string KeepFileAside(const std::string& path, std::string& why) {
  for (int n = 1; n <= 999; ++n) {
    const std::string aside = path + ".bad" + (n == 1 ? "" : "-" + std::to_string(n));
    if (MoveFileExW(Widen(path).c_str(), Widen(aside).c_str(), MOVEFILE_WRITE_THROUGH)) {
      return aside;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  why = Reason(path, "rename it aside");
  return "";
}

bool RemovePlayerFile(const std::string& path, std::string& why) {
  if (!DeleteFileW(Widen(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    why = Reason(path, "remove");
    return false;
  }
  return true;
}

void SyncPlayerFiles() {}

}  // namespace vorlith
