#include "platform/InputFile.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/win32/WideText.h"

namespace vorlith {

InputFile::~InputFile() {
  Close();
}

bool InputFile::IsDirectory(const std::string& path) {
  struct _stat64 info {};
  return _wstat64(Widen(path).c_str(), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFDIR;
}

bool InputFile::Open(const std::string& path, std::string& reason) {
  Close();
  handle = _wopen(Widen(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  struct _stat64 info {};
  if (handle < 0 || _fstat64(handle, &info) != 0) {
    reason = std::strerror(errno);
    Close();
    return false;
  }
  regular = (info.st_mode & _S_IFMT) == _S_IFREG;
  return true;
}

bool InputFile::Rewind(std::string& reason) {
  if (_lseeki64(handle, 0, SEEK_SET) == 0) return true;
  reason = std::strerror(errno);
  return false;
}

long InputFile::Read(char* buffer, std::size_t size, std::string& reason) {
  const unsigned int want = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
  const int got = _read(handle, buffer, want);
  if (got < 0) reason = std::strerror(errno);
  return got;
}

void InputFile::Close() {
  if (handle >= 0) _close(handle);
  handle = -1;
  regular = false;
}

}  // namespace vorlith
