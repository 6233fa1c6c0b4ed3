#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorlith {

// The program's long options (recording, replaying, tracing, headless runs, screenshots).
// Any other word starting with "--" is a usage error, unless it stands where a display size's
// value goes (`-w --5`); everything else is left, in order, for the display-size options.
struct LaunchOptions {
  std::string recordPath;
  std::string replayPath;
  std::string tracePath;
  bool headless = false;
  bool noPacing = false;
  bool help = false;
  bool version = false;
  std::vector<std::pair<std::int64_t, std::string>> screenshots;  // frame, PNG path
  std::vector<std::string> gameArgs;  // program name first, long options removed

  // False with a one-line `error` for a usage error (the program then exits with status 2).
  static bool Parse(int argc, const char* const* argv, LaunchOptions& options, std::string& error);
  static std::string HelpText(const std::string& programName);
};

}  // namespace vorlith
