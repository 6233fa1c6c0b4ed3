#pragma once

#include <cstdint>
#include <istream>
#include <limits>
#include <string>
#include <vector>

#include "replay/ReplayFormat.h"
#include "replay/ReplayParser.h"

namespace vorlith {

// A whole replay held in memory: the controls of every frame, kept as runs of equal frames
// (16 bytes for each change of controls). ReplayStream plays files without holding them.
//
// Text format: the first line is "vorlith-replay 1"; every further line is
// "COUNT CONTROLS" (hold CONTROLS for COUNT frames), CONTROLS being letters from
// "UDLRZXCV" in any order or "-" for nothing held. Empty lines and text after '#' are
// ignored.
class ReplayScript {
 public:
  static constexpr const char* kHeader = "vorlith-replay 1";
  static constexpr std::int64_t kMaxFrames = 1'000'000'000;
  // Longer lines are refused as soon as they pass this length (comments included).
  static constexpr std::size_t kMaxLineBytes = 4096;

  // On failure `error` names the line and the problem, e.g. "line 3: unknown control 'Q'".
  // A replay with more than `maxRuns` changes of controls is refused at the line that
  // passes it.
  bool Parse(const ReplayBytes& next, std::string& error,
             std::size_t maxRuns = std::numeric_limits<std::size_t>::max());
  // The same, read from a stream.
  bool Parse(std::istream& in, std::string& error,
             std::size_t maxRuns = std::numeric_limits<std::size_t>::max()) {
    return Parse([&in] { return in.rdbuf()->sbumpc(); }, error, maxRuns);
  }

  std::int64_t GetFrameCount() const { return frameCount; }
  const ReplayOrigin& GetOrigin() const { return origin; }
  // Controls of a frame; frames past the end read as nothing held.
  ReplayControls GetControls(std::int64_t frame) const;

 private:
  struct Run {
    std::int64_t firstFrame;
    ReplayControls controls;
  };

  std::vector<Run> runs;
  ReplayOrigin origin;
  std::int64_t frameCount = 0;
};

}  // namespace vorlith
