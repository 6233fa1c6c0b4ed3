#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "input/ReplayScript.h"

namespace vorlith {

// Writes the controls of every frame as a replay while play goes on. A run of equal frames
// becomes one line when the controls change; Close writes the last run and flushes.
class ReplayRecorder {
 public:
  ReplayRecorder() = default;
  ~ReplayRecorder();
  ReplayRecorder(const ReplayRecorder&) = delete;
  ReplayRecorder& operator=(const ReplayRecorder&) = delete;

  bool Open(const std::string& path);
  void Record(ReplayControls controls);
  void Close();
  bool IsOpen() const { return file != nullptr; }

 private:
  void WriteRun();

  std::FILE* file = nullptr;
  ReplayControls runControls = 0;
  std::int64_t runLength = 0;
};

}  // namespace vorlith
