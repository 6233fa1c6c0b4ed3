#pragma once

#include <cstdint>
#include <string>

namespace vorlith {

// An exclusive lock across processes on a lock file (created when missing, never removed),
// held from construction, waiting for another holder, until destruction: two copies of the
// game reading, merging and writing the same player file take turns. flock on POSIX,
// LockFileEx on Windows; in the browser (one page, one program) it holds at once.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the lock file could not be opened or locked; the caller may go on unlocked.
  bool IsHeld() const { return held; }

 private:
  std::intptr_t handle = -1;  // a file descriptor or a HANDLE
  bool held = false;
};

}  // namespace vorlith
