#include "app/LaunchOptions.h"

#include <algorithm>
#include <cctype>

namespace vorlith {
namespace {

bool ParseScreenshot(const std::string& value, std::pair<std::int64_t, std::string>& shot) {
  const std::size_t colon = value.find(':');
  if (colon == std::string::npos || colon == 0 || colon > 12 || colon + 1 >= value.size()) {
    return false;
  }
  const std::string frame = value.substr(0, colon);
  if (!std::all_of(frame.begin(), frame.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  shot = {std::stoll(frame), value.substr(colon + 1)};
  return true;
}

bool TakeValue(int argc, const char* const* argv, int& i, std::string& value, std::string& error) {
  if (i + 1 >= argc) {
    error = std::string(argv[i]) + " needs a value";
    return false;
  }
  value = argv[++i];
  return true;
}

bool ParseOne(int argc, const char* const* argv, int& i, LaunchOptions& options,
              std::string& error) {
  const std::string arg = argv[i];
  if (arg == "--record") return TakeValue(argc, argv, i, options.recordPath, error);
  if (arg == "--replay") return TakeValue(argc, argv, i, options.replayPath, error);
  if (arg == "--trace") return TakeValue(argc, argv, i, options.tracePath, error);
  if (arg == "--headless") {
    options.headless = true;
  } else if (arg == "--no-pacing") {
    options.noPacing = true;
  } else if (arg == "--help") {
    options.help = true;
  } else if (arg == "--version") {
    options.version = true;
  } else if (arg == "--screenshot") {
    std::string value;
    if (!TakeValue(argc, argv, i, value, error)) return false;
    std::pair<std::int64_t, std::string> shot;
    if (!ParseScreenshot(value, shot)) {
      error = "--screenshot takes FRAME:FILE.png, not '" + value + "'";
      return false;
    }
    options.screenshots.push_back(shot);
  } else {
    options.gameArgs.push_back(arg);
  }
  return true;
}

bool CheckCombinations(const LaunchOptions& options, std::string& error) {
  if (options.help || options.version) return true;
  if (options.headless && options.replayPath.empty()) {
    error = "--headless needs --replay FILE";
    return false;
  }
  if (options.noPacing && options.replayPath.empty()) {
    error = "--no-pacing needs --replay FILE";
    return false;
  }
  if (options.headless && !options.screenshots.empty()) {
    error = "--screenshot cannot be used with --headless";
    return false;
  }
  return true;
}

}  // namespace

bool LaunchOptions::Parse(int argc, const char* const* argv, LaunchOptions& options,
                          std::string& error) {
  options = LaunchOptions{};
  options.gameArgs.push_back(argc > 0 ? argv[0] : "vorlith");
  for (int i = 1; i < argc; ++i) {
    if (!ParseOne(argc, argv, i, options, error)) return false;
  }
  return CheckCombinations(options, error);
}

std::string LaunchOptions::HelpText(const std::string& programName) {
  return "Usage: " + programName +
         " [options]\n"
         "\n"
         "Display:\n"
         "  -w N              width of the window and of the full screen (default 640)\n"
         "  -h N              height of the window and of the full screen (default 480)\n"
         "  -ww N, -wh N      window width, window height only\n"
         "  -fw N, -fh N      full-screen width, full-screen height only\n"
         "  -f                start in full screen\n"
         "\n"
         "Replays and tests:\n"
         "  --record FILE     write the controls of every frame to FILE as a replay\n"
         "  --replay FILE     take the controls from FILE instead of the keyboard and\n"
         "                    controllers; quit when it ends\n"
         "  --trace FILE      write one JSON line per frame describing the game state\n"
         "  --headless        with --replay: run without window, GPU or sound device\n"
         "  --no-pacing       with --replay: run frames as fast as possible\n"
         "  --screenshot N:FILE.png\n"
         "                    after frame N is drawn, save the picture (may be repeated)\n"
         "  --help, --version\n"
         "\n"
         "Controls:\n"
         "  arrows / left stick / D-pad\n"
         "                        move the ship\n"
         "  Z / button A          fire; start the game on the title\n"
         "  C / button X          continue after \"Game Over\", next stage after "
         "\"Stage Clear!!\"\n"
         "  V / button Y          back to the title after \"Game Over\"\n"
         "  P / Start             pause; again to go on\n"
         "  Alt+Enter             window / full screen\n"
         "  Esc                   quit (also while paused)\n"
         "\n"
         "Controller mappings: SDL's own, SDL_GAMECONTROLLERCONFIG, and\n"
         "  $XDG_CONFIG_HOME/vorlith/gamecontrollerdb.txt (else ~/.config/vorlith/)\n";
}

}  // namespace vorlith
