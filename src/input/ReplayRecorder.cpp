#include "input/ReplayRecorder.h"

namespace vorlith {

ReplayRecorder::~ReplayRecorder() {
  Close();
}

bool ReplayRecorder::Open(const std::string& path) {
  Close();
  file = std::fopen(path.c_str(), "w");
  if (!file) return false;
  std::fprintf(file, "%s\n", ReplayScript::kHeader);
  return true;
}

void ReplayRecorder::Record(ReplayControls controls) {
  if (!file) return;
  if (runLength > 0 && controls != runControls) WriteRun();
  runControls = controls;
  ++runLength;
}

void ReplayRecorder::WriteRun() {
  if (runLength == 0) return;
  std::fprintf(file, "%lld %s\n", static_cast<long long>(runLength),
               ControlsToText(runControls).c_str());
  runLength = 0;
}

void ReplayRecorder::Close() {
  if (!file) return;
  WriteRun();
  std::fclose(file);
  file = nullptr;
}

}  // namespace vorlith
