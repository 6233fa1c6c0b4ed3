// Stage start with the real renderer: tests/replays/game_over_continue_return.replay is
// played (unpaced) into the 640 x 480 back buffer until its continue, and the two stage
// starts are timed from the update that takes the key (Z on the title, C on "Game Over") to
// the end of the first drawn play frame, waiting for the GPU, in two parts: the update (the
// stage set-up) and the drawing of that frame. Each run is a fresh process, so that the first
// start is the program's first. Prints wall-clock milliseconds per run, the medians and the
// least of each column. With --title-frames N the replay is played with N frames of the
// title, nothing pressed, before its first Z (a player sees the title before pressing it);
// by default Z comes in the program's very first frame.
// Run from data/ with SDL_VIDEODRIVER=offscreen (set unless given) or a display:
//   stage_start [--runs N] [--title-frames N]   (defaults 5 and 0)
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "app/GraphicsDevice.h"
#include "platform/Platform.h"
#include "platform/XModelLoader.h"
#include "platform/gl/GlRenderDevice.h"
#include "replay/ReplayPadSource.h"
#include "replay/ReplayStream.h"
#include "replay/UnpacedClock.h"
#include "sound/KeptAudioSystem.h"
#include "stage/CStage.h"
#include "stage/StageRequest.h"

namespace {

constexpr const char* kReplay = "../tests/replays/game_over_continue_return.replay";
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int kColumns = 9;
constexpr const char* kHeadings[kColumns] = {"first", "update", "draw",    "continue", "update",
                                             "draw",  "play",   "imports", "helpers"};

// The replay with titleFrames idle frames before its first line of frames, in a file of
// its own; the replay itself when there are none. Empty when it cannot be written.
std::string ReplayWithTitleFrames(int titleFrames) {
  if (titleFrames <= 0) return kReplay;
  std::ifstream in(kReplay);
  std::string header;
  if (!std::getline(in, header)) return kReplay;  // Open names the problem
  std::ostringstream rest;
  rest << in.rdbuf();
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("stage_start_" + std::to_string(getpid()) + ".replay");
  std::ofstream out(path);
  out << header << '\n' << titleFrames << " -\n" << rest.str();
  return out.flush() ? path.string() : std::string();
}

// One run in this process: prints the kColumns numbers on stdout.
int RunOnce(int titleFrames) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);  // no sound card needed; sounds still play
  vorlith::ReplayStream replay;
  std::string error;
  const std::string path = ReplayWithTitleFrames(titleFrames);
  const bool opened = !path.empty() && replay.Open(path, error);
  if (path != kReplay) std::filesystem::remove(path);
  if (!opened) {
    std::fprintf(stderr, "cannot read the replay (run from data/): %s\n", error.c_str());
    return 1;
  }
  vorlith::StartXModelImporter();  // as the program does, before the window exists
  auto platform = vorlith::CreatePlatform();
  platform->clock = std::make_unique<vorlith::UnpacedClock>(std::move(platform->clock));
  platform->audioSystem =  // as the program does
      std::make_unique<vorlith::KeptAudioSystem>(std::move(platform->audioSystem));
  vorlith::GameApp app(std::move(platform), {"vorlith", "-w", "640", "-h", "480"});
  app.SetPadSource(std::make_unique<vorlith::ReplayPadSource>(&replay));
  auto* device = app.IsReady()
                     ? dynamic_cast<vorlith::GlRenderDevice*>(app.GetGraphicsDevice()->GetDevice())
                     : nullptr;
  if (!device) {
    std::fprintf(stderr, "no OpenGL device\n");
    return 1;
  }
  std::vector<double> starts;  // update and draw of each start
  double playMs = 0.0;
  int playFrames = 0;
  for (std::int64_t frame = 0; frame < replay.GetFrameCount() && starts.size() < 4; ++frame) {
    const bool onTitle = app.GetScene() == vorlith::GameApp::kTitleScene;
    const vorlith::CStage* stage = app.GetStage();
    const bool again = stage && (stage->GetRequest() == vorlith::StageRequest::kSameStage ||
                                 stage->GetRequest() == vorlith::StageRequest::kNextStage);
    const Clock::time_point start = Clock::now();
    app.Update();
    const double updateMs = MsSince(start);
    app.Draw();
    device->Finish();
    const double ms = MsSince(start);
    const bool started = (onTitle && app.GetScene() == vorlith::GameApp::kPlayScene) || again;
    if (started) {
      starts.push_back(updateMs);
      starts.push_back(ms - updateMs);
    } else if (app.GetScene() == vorlith::GameApp::kPlayScene) {
      playMs += ms;
      ++playFrames;
    }
  }
  if (starts.size() < 4) {
    std::fprintf(stderr, "the replay did not reach its continue\n");
    return 1;
  }
  const vorlith::XModelImporterStats stats = vorlith::GetXModelImporterStats();
  std::printf("%.3f %.3f %.3f %.3f %.3f %.3f %.3f %d %d\n", starts[0] + starts[1], starts[0],
              starts[1], starts[2] + starts[3], starts[2], starts[3],
              playMs / std::max(playFrames, 1), stats.imports, stats.helperStarts);
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Runs this program once per run with --once and collects what each printed.
bool RunChild(int titleFrames, std::vector<double>& values) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    const std::string frames = std::to_string(titleFrames);
    execl("/proc/self/exe", "stage_start", "--once", frames.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  char buffer[256];
  for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  values.clear();
  std::size_t at = 0;
  while (values.size() < kColumns && at < text.size()) {
    char* end = nullptr;
    values.push_back(std::strtod(text.c_str() + at, &end));
    if (end == text.c_str() + at) return false;
    at = static_cast<std::size_t>(end - text.c_str());
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && values.size() == kColumns;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--once") == 0) return RunOnce(std::atoi(argv[2]));
  int runs = 5, titleFrames = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--title-frames") == 0)
      titleFrames = std::max(0, std::atoi(argv[i + 1]));
  }
  std::vector<std::vector<double>> columns(kColumns);
  std::printf(
      "wall-clock ms; play: mean play frame; imports and helper processes started;\n"
      "%d title frames before the first Z\n",
      titleFrames);
  std::printf("%4s", "run");
  for (const char* heading : kHeadings) std::printf(" %9s", heading);
  std::printf("\n");
  for (int run = 0; run < runs; ++run) {
    std::vector<double> values;
    if (!RunChild(titleFrames, values)) {
      std::fprintf(stderr, "run %d failed\n", run + 1);
      return 1;
    }
    std::printf("%4d", run + 1);
    for (int c = 0; c < kColumns; ++c) {
      columns[c].push_back(values[c]);
      std::printf(" %9.2f", values[c]);
    }
    std::printf("\n");
  }
  std::printf("%4s", "med");
  for (const auto& column : columns) std::printf(" %9.2f", Median(column));
  std::printf("\n%4s", "min");  // the least disturbed run on a busy machine
  for (const auto& column : columns) {
    std::printf(" %9.2f", *std::min_element(column.begin(), column.end()));
  }
  std::printf("\n");
  return 0;
}
