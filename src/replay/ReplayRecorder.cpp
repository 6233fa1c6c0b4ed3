#include "replay/ReplayRecorder.h"

namespace vorlith {

ReplayRecorder::~ReplayRecorder() {
  Close();
}

bool ReplayRecorder::Open(const std::string& path, std::string& error) {
  Close();
  runLength = 0;
  if (!file.Open(path, error)) return false;
  file.Write(std::string(replay_format::kHeader) + "\n");
  return true;
}

void ReplayRecorder::Record(ReplayControls controls) {
  if (!file.IsOpen()) return;
  if (runLength > 0 && controls != runControls) WriteRun();
  runControls = controls;
  ++runLength;
}

void ReplayRecorder::WriteRun() {
  if (runLength == 0) return;
  file.Write(std::to_string(runLength) + " " + ControlsToText(runControls) + "\n");
  runLength = 0;
}

bool ReplayRecorder::Close() {
  if (file.IsOpen()) WriteRun();
  return file.Close();
}

}  // namespace vorlith
