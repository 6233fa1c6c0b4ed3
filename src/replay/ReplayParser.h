#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "replay/ReplayFormat.h"

namespace vorlith {

// One "COUNT CONTROLS" line of a replay.
struct ReplayRun {
  std::int64_t count = 0;
  ReplayControls controls = 0;
};

// Reads a replay's text one bounded line at a time and hands out its runs in order, so
// that no input is ever held whole.
class ReplayParser {
 public:
  explicit ReplayParser(std::istream& in) : in(in) {}

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

  std::istream& in;
  std::string line;
  bool tooLong = false;
  bool sawHeader = false;
  bool sawRun = false;
  ReplayOrigin origin;
  std::int64_t lineNumber = 0;
  std::int64_t frameCount = 0;
};

}  // namespace vorlith
