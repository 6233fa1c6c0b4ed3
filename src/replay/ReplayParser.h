#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "replay/ReplayFormat.h"

namespace vorlith {

// One "COUNT CONTROLS" line of a replay.
struct ReplayRun {
  std::int64_t count = 0;
  ReplayControls controls = 0;
};

// Where a replay's text comes from: its next byte (0 to 255), or -1 at its end.
using ReplayBytes = std::function<int()>;

// Reads a replay's text one bounded line at a time and hands out its runs in order, so
// that no input is ever held whole.
class ReplayParser {
 public:
  explicit ReplayParser(ReplayBytes next) : next(std::move(next)) {}

  // The next run: false at the end of the input, or on a fault, with `error` then set to
  // "line N: problem" (and left empty at a clean end).
  bool Next(ReplayRun& run, std::string& error);
  // Frames of the runs handed out so far.
  std::int64_t GetFrameCount() const { return frameCount; }
  // The "version" and "combo" lines read so far.
  const ReplayOrigin& GetOrigin() const { return origin; }
  // "line N: problem" for the line read last.
  std::string LineError(const std::string& problem) const;

 private:
  bool ReadLine();
  bool ParseLine(const std::string_view (&words)[3], int count, ReplayRun& run,
                 std::string& problem) const;
  bool ParseOrigin(const std::string_view (&words)[3], int count, std::string& problem);

  ReplayBytes next;
  std::string line;
  bool tooLong = false;
  bool sawHeader = false;
  bool sawRun = false;
  ReplayOrigin origin;
  std::int64_t lineNumber = 0;
  std::int64_t frameCount = 0;
};

}  // namespace vorlith
