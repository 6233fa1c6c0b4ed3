#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "replay/ReplayRecorder.h"
#include "replay/TraceWriter.h"

namespace vorlith {

class GameApp;
class RecordingDialogs;
class ReplayInputDevices;

// Looks at every finished frame of the game: writes its trace line and the replay being
// recorded, saves the screenshots asked for, and ends the run when the replay played has
// no frames left. A file that cannot be written is reported on stderr as it happens and
// play goes on; Finish tells whether everything asked for was written.
class FrameReporter {
 public:
  struct Settings {
    std::string tracePath;   // empty: no trace
    std::string recordPath;  // empty: no recording
    std::vector<std::pair<std::int64_t, std::string>> screenshots;
    ReplayInputDevices* replay = nullptr;  // borrowed; null when playing live
    RecordingDialogs* dialogs = nullptr;   // borrowed; where the frame's messages are kept
  };

  FrameReporter(GameApp& app, Settings settings);

  // Opens the output files; false with `error` naming the file that cannot be written.
  bool Open(std::string& error);
  // Closes the output files and reports screenshots whose frame never came; false when any
  // output was not written whole.
  bool Finish();
  // Called once after each frame's Update and Draw.
  void OnFrame();
  // The state of the game as the trace reports it after the current frame.
  TraceFrame Describe() const;

 private:
  void SaveScreenshots();

  GameApp& app;
  Settings settings;
  TraceWriter trace;
  ReplayRecorder recorder;
  std::int64_t frame = 0;
  bool outputFailed = false;
};

}  // namespace vorlith
