#pragma once

#include <cstdint>
#include <string>

#include "platform/OutputFile.h"
#include "replay/ReplayScript.h"

namespace vorlith {

// Writes the controls of every frame as a replay while play goes on. A run of equal frames
// becomes one line when the controls change; Close writes the last run and flushes.
class ReplayRecorder {
 public:
  ReplayRecorder() = default;
  ~ReplayRecorder();
  ReplayRecorder(const ReplayRecorder&) = delete;
  ReplayRecorder& operator=(const ReplayRecorder&) = delete;

  // False with `error` naming the file and the reason when it cannot be created.
  bool Open(const std::string& path, std::string& error);
  void Record(ReplayControls controls);
  // False when any write, the flush or the close failed (already reported on stderr).
  bool Close();
  bool IsOpen() const { return file.IsOpen(); }

 private:
  void WriteRun();

  OutputFile file{"replay"};
  ReplayControls runControls = 0;
  std::int64_t runLength = 0;
};

}  // namespace vorlith
