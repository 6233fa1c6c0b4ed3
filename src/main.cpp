#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "app/LaunchOptions.h"
#include "base/DataDirectory.h"
#include "platform/ExecutablePath.h"
#include "platform/Platform.h"
#include "platform/XModelLoader.h"
#include "replay/FrameReporter.h"
#include "replay/RecordingDialogs.h"
#include "replay/ReplayInputDevices.h"
#include "replay/ReplayStream.h"
#include "replay/UnpacedClock.h"
#include "sound/KeptAudioSystem.h"

// Where an installed binary finds its data, relative to its own directory, and the data of
// the source tree it was built from; the build sets both.
#ifndef VORLITH_DATA_FROM_BINDIR
#define VORLITH_DATA_FROM_BINDIR "../share/games/vorlith"
#endif
#ifndef VORLITH_SOURCE_DATA_DIR
#define VORLITH_SOURCE_DATA_DIR ""
#endif

namespace {

constexpr int kUsageError = 2;
constexpr int kNoData = 1;
constexpr int kOutputFailed = 3;  // a trace, recording or screenshot was not written whole

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorlith: %s\n", message.c_str());
  return kUsageError;
}

// The platform the options ask for, with its input, clock and message boxes replaced where
// a replay or an unpaced run needs it. Messages always pass through a recorder so that
// traces can report them.
std::unique_ptr<vorlith::Platform> MakePlatform(const vorlith::LaunchOptions& options,
                                                vorlith::ReplayStream& replayFile,
                                                vorlith::ReplayInputDevices*& replay,
                                                vorlith::RecordingDialogs*& dialogs) {
  using namespace vorlith;
  auto platform = options.headless ? CreateHeadlessPlatform() : CreatePlatform();
  if (!platform) return nullptr;
  // One sound output kept open for the whole run; each stage opens its devices on it.
  platform->audioSystem = std::make_unique<KeptAudioSystem>(std::move(platform->audioSystem));
  std::unique_ptr<Dialogs> shown = std::move(platform->dialogs);
  if (!options.replayPath.empty()) {
    auto replayInput = std::make_unique<ReplayInputDevices>(&replayFile);
    replay = replayInput.get();
    platform->inputDevices = std::move(replayInput);
    shown = CreateStderrDialogs();  // a replay never waits for a click
  }
  if (options.noPacing) {
    platform->clock = std::make_unique<UnpacedClock>(std::move(platform->clock));
  }
  auto recording = std::make_unique<RecordingDialogs>(std::move(shown));
  dialogs = recording.get();
  platform->dialogs = std::move(recording);
  return platform;
}

// Finds the data directory, or names the places tried through the platform's message box.
bool LocateData(vorlith::Dialogs& dialogs) {
  using vorlith::DataDirectory;
  DataDirectory::Places places;
  const char* fromEnvironment = std::getenv("VORLITH_DATA_DIR");
  places.fromEnvironment = fromEnvironment ? fromEnvironment : "";
  places.programDirectory = vorlith::ExecutableDirectory();
  places.installedRelative = VORLITH_DATA_FROM_BINDIR;
  places.sourceData = VORLITH_SOURCE_DATA_DIR;
  const std::vector<std::string> candidates = DataDirectory::Candidates(places);
  const std::string found = DataDirectory::Find(candidates, DataDirectory::HoldsGameData);
  if (found.empty()) {
    dialogs.ShowMessage("Vorlith", DataDirectory::NotFoundMessage(candidates));
    return false;
  }
  DataDirectory::Set(found);
  return true;
}

#ifdef __EMSCRIPTEN__
// In the page main returns to the browser while the game goes on: what the loop uses lives
// as long as the page.
struct BrowserRun {
  vorlith::ReplayStream replay;
  std::unique_ptr<vorlith::GameApp> app;
  std::unique_ptr<vorlith::FrameReporter> reporter;
  bool unpaced = false;
};

// How long an unpaced run plays frames in one display refresh, leaving the browser the rest.
constexpr auto kUnpacedSliceTime = std::chrono::milliseconds(12);

// One display refresh: the waiting events, then a frame when one is due (paced runs: 16 ms
// since the last, as the pacer counts them) or frames for a slice of the refresh (unpaced).
// False once the game has ended.
bool RunBrowserPass(BrowserRun& run) {
  using vorlith::WindowApp;
  const auto sliceEnd = std::chrono::steady_clock::now() + kUnpacedSliceTime;
  WindowApp::Pass pass = WindowApp::Pass::Frame;
  while (run.app->IsRunning() && pass == WindowApp::Pass::Frame) {
    do {
      pass = run.app->RunOnce(false);
    } while (pass == WindowApp::Pass::Event && run.app->IsRunning());
    if (!run.unpaced || std::chrono::steady_clock::now() >= sliceEnd) break;
  }
  return run.app->IsRunning();
}

// The end of the page's run, as main ends on the desktop.
void EndBrowserRun(BrowserRun& run) {
  const bool written = run.reporter->Finish();
  if (!run.replay.GetError().empty()) Fail(run.replay.GetError());
  if (!written) std::fprintf(stderr, "vorlith: the trace or recording was not written whole\n");
  if (run.replay.GetFrameCount() > 0) std::puts("vorlith: replay done");
  std::fflush(stdout);
}

int RunInBrowser(const vorlith::LaunchOptions& options) {
  using namespace vorlith;
  auto* run = new BrowserRun;  // never freed: the page ends with it
  run->unpaced = options.noPacing;
  std::string error;
  if (!options.replayPath.empty()) {
    if (!run->replay.Open(options.replayPath, error)) return Fail(error);
    if (run->replay.GetFrameCount() == 0) return 0;  // nothing to play
  }
  StartXModelImporter();
  FrameReporter::Settings settings{options.tracePath, options.recordPath, options.screenshots};
  auto platform = MakePlatform(options, run->replay, settings.replay, settings.dialogs);
  if (!platform) return 1;
  if (!LocateData(*platform->dialogs)) return kNoData;
  run->app = std::make_unique<GameApp>(std::move(platform), options.gameArgs);
  run->reporter = std::make_unique<FrameReporter>(*run->app, settings);
  if (!run->reporter->Open(error)) return Fail(error);
  GameApp* app = run->app.get();
  FrameReporter* reporter = run->reporter.get();
  app->SetFrameObserver([reporter] { reporter->OnFrame(); });
  if (!run->unpaced) app->SetFrameGate([app] { return app->GetFrameWaitMs() <= 0; });
  if (!app->Start()) return 1;
  RunBrowserMainLoop([run] {
    if (RunBrowserPass(*run)) return true;
    EndBrowserRun(*run);
    return false;
  });
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlith;
  LaunchOptions options;
  std::string error;
  if (!LaunchOptions::Parse(argc, argv, options, error)) return Fail(error + " (see --help)");
  if (options.help) {
    std::fputs(LaunchOptions::HelpText(argc > 0 ? argv[0] : "vorlith").c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("Vorlith %s\n", VORLITH_VERSION);
    return 0;
  }
#ifdef __EMSCRIPTEN__
  return RunInBrowser(options);
#endif
  ReplayStream replay;  // checked whole here, then read as it plays
  if (!options.replayPath.empty()) {
    if (!replay.Open(options.replayPath, error)) return Fail(error);
    if (replay.GetFrameCount() == 0) return 0;  // nothing to play
  }

  // The model importer's helper process, forked while this one is still small.
  StartXModelImporter();
  FrameReporter::Settings settings{options.tracePath, options.recordPath, options.screenshots};
  auto platform = MakePlatform(options, replay, settings.replay, settings.dialogs);
  if (!platform) return 1;  // no display: said on stderr
  if (!LocateData(*platform->dialogs)) return kNoData;
  auto app = std::make_unique<GameApp>(std::move(platform), options.gameArgs);
  FrameReporter reporter(*app, settings);
  if (!reporter.Open(error)) return Fail(error);
  app->SetFrameObserver([&reporter] { reporter.OnFrame(); });
  const int status = app->Run();
  const bool written = reporter.Finish();
  if (!replay.GetError().empty()) return Fail(replay.GetError());  // the file changed under us
  if (!written && status == 0) return kOutputFailed;
  return status;
}
