#include "app/LaunchOptions.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/DistinctFiles.h"
#include "base/Utf8.h"

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
  if (value.empty()) {
    error = std::string(argv[i - 1]) + " needs a file name, not an empty string";
    return false;
  }
  return true;
}

const char* const kLongOptions[] = {"--record",    "--replay",     "--trace", "--headless",
                                    "--no-pacing", "--screenshot", "--help",  "--version"};

// The number of single-character edits that turn a into b.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string NearestLongOption(const std::string& arg) {
  const char* nearest = kLongOptions[0];
  for (const char* known : kLongOptions) {
    if (EditDistance(arg, known) < EditDistance(arg, nearest)) nearest = known;
  }
  return nearest;
}

// The display-size options, whose next argument is always their value.
bool TakesSizeValue(const std::string& arg) {
  return arg == "-w" || arg == "-h" || arg == "-ww" || arg == "-wh" || arg == "-fw" || arg == "-fh";
}

bool ParseOne(int argc, const char* const* argv, int& i, LaunchOptions& options, bool isSizeValue,
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
      error = "--screenshot takes FRAME:FILE.png, not '" + EscapeForMessage(value) + "'";
      return false;
    }
    options.screenshots.push_back(shot);
  } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0 && !isSizeValue) {
    error = "unknown option '" + arg + "' (did you mean " + NearestLongOption(arg) + "?)";
    return false;
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
  // An output that names the replay or another output would destroy or garble it.
  std::vector<std::pair<std::string, std::string>> files;
  if (!options.replayPath.empty()) files.emplace_back("--replay", options.replayPath);
  if (!options.recordPath.empty()) files.emplace_back("--record", options.recordPath);
  if (!options.tracePath.empty()) files.emplace_back("--trace", options.tracePath);
  for (const auto& shot : options.screenshots) files.emplace_back("--screenshot", shot.second);
  return CheckFilesDistinct(files, error);
}

}  // namespace

bool LaunchOptions::Parse(int argc, const char* const* argv, LaunchOptions& options,
                          std::string& error) {
  options = LaunchOptions{};
  options.gameArgs.push_back(argc > 0 ? argv[0] : "vorlith");
  bool isSizeValue = false;
  for (int i = 1; i < argc; ++i) {
    const std::size_t kept = options.gameArgs.size();
    if (!ParseOne(argc, argv, i, options, isSizeValue, error)) return false;
    if (options.gameArgs.size() > kept) {
      isSizeValue = !isSizeValue && TakesSizeValue(options.gameArgs.back());
    }
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
         "  $XDG_CONFIG_HOME/vorlith/gamecontrollerdb.txt (else ~/.config/vorlith/)\n"
         "\n"
         "Exit status:\n"
         "  0  ended normally (Esc, closing the window, SIGTERM, SIGINT or SIGHUP, the\n"
         "     replay's end)\n"
         "  1  no display, no game data, no graphics device for the sizes asked for, or\n"
         "     the X server went away (the trace and recording whole up to then)\n"
         "  2  usage error: a bad option, a replay that does not parse, an output that\n"
         "     cannot be created or that names the same file as another input or output,\n"
         "     or a replay file changed while it played\n"
         "  3  a trace, recording or screenshot could not be written whole (each such\n"
         "     file is named on stderr with the reason; the run itself went on)\n";
}

}  // namespace vorlith
