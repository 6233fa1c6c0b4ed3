#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace vorlith {

struct PadState;

// Held controls of one frame as replays store them: one bit per control, in the order of
// the letters "UDLRZXCV" (up, down, left, right, buttons 0 to 3).
using ReplayControls = std::uint8_t;

ReplayControls ControlsFromPad(const PadState& pad);
// The letters of the held controls in "UDLRZXCV" order, or "-" for none.
std::string ControlsToText(ReplayControls controls);

// A whole replay: the controls of every frame, kept as runs of equal frames.
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
  bool Parse(std::istream& in, std::string& error);
  // Reads the input as a stream, one bounded line at a time.
  // On failure `error` is "FILE:LINE: problem", "FILE: cannot open: REASON" or similar.
  bool Load(const std::string& path, std::string& error);

  std::int64_t GetFrameCount() const { return frameCount; }
  // Controls of a frame; frames past the end read as nothing held.
  ReplayControls GetControls(std::int64_t frame) const;

 private:
  struct Run {
    std::int64_t firstFrame;
    std::int64_t count;
    ReplayControls controls;
  };
  bool ParseLine(const std::string& line, std::string& problem);

  std::vector<Run> runs;
  std::int64_t frameCount = 0;
};

}  // namespace vorlith
