#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/InputFile.h"
#include "replay/ReplayScript.h"

namespace vorlith {

// A replay file played as a stream: Open reads it through once to check every line and
// count its frames, and ReadFrame then reads it again, one run at a time, as frames are
// played. Memory stays the same whatever the file's length. An input that cannot be read
// twice (a pipe, a FIFO, a terminal) is held in memory instead, up to kMaxHeldRuns
// changes of controls.
class ReplayStream {
 public:
  static constexpr std::size_t kMaxHeldRuns = 262'144;  // 4 MiB

  ReplayStream();
  ~ReplayStream();
  ReplayStream(const ReplayStream&) = delete;
  ReplayStream& operator=(const ReplayStream&) = delete;

  // On failure `problem` is "FILE:LINE: problem", "FILE: cannot open: REASON" or similar.
  bool Open(const std::string& path, std::string& problem);

  std::int64_t GetFrameCount() const { return frameCount; }
  // The replay's "version" and "combo" lines. A replay of other rules is refused by Open.
  const ReplayOrigin& GetOrigin() const { return origin; }
  // Controls of the next frame; frames past the end read as nothing held. A file that no
  // longer reads as it did when opened ends the replay at that frame, with GetError set.
  ReplayControls ReadFrame();
  // Empty unless the file changed or failed while it played.
  const std::string& GetError() const { return error; }

 private:
  struct Pass;
  bool Check(std::string& problem);
  bool Hold(std::string& problem);
  bool CheckRules(std::string& problem) const;
  void Stop(const std::string& problem);

  InputFile file;
  std::string name;
  std::unique_ptr<Pass> pass;
  ReplayScript held;
  bool holding = false;
  ReplayOrigin origin;
  std::int64_t frameCount = 0;
  std::int64_t framesRead = 0;
  std::int64_t runLeft = 0;
  ReplayControls runControls = 0;
  std::string error;
};

}  // namespace vorlith
