#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "app/GameApp.h"
#include "app/LaunchOptions.h"
#include "app/SettingsFile.h"
#include "base/DataDirectory.h"
#include "base/Utf8.h"
#include "platform/ExecutablePath.h"
#include "platform/Platform.h"
#include "platform/PlayerFiles.h"
#include "platform/QuitSignals.h"
#include "platform/XModelLoader.h"
#include "replay/FrameReporter.h"
#include "replay/PlayerRecords.h"
#include "replay/RecordingDialogs.h"
#include "replay/ReplayPadSource.h"
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

using vorlith::kExitNoData;
using vorlith::kExitUsage;

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorlith: %s\n", message.c_str());
  return kExitUsage;
}

// A replay without frames runs nothing, but its outputs are made as a run of no frames
// leaves them: an empty trace, a recording of the header alone; no screenshot's frame comes.
int WriteOutputsOfNoFrames(const vorlith::FrameReporter::Settings& settings) {
  using namespace vorlith;
  std::string error;
  if (!FrameReporter::CheckOutputs(settings, error)) return Fail(error);
  TraceWriter trace;
  ReplayRecorder recorder;
  if (!settings.tracePath.empty() && !trace.Open(settings.tracePath, error)) return Fail(error);
  if (!settings.recordPath.empty() && !recorder.Open(settings.recordPath, error)) {
    return Fail(error);
  }
  bool written = trace.Close();
  written = recorder.Close() && written;
  for (const auto& shot : settings.screenshots) {
    std::fprintf(stderr, "vorlith: %s: no screenshot: frame %lld was never reached\n",
                 EscapeForMessage(shot.second).c_str(), static_cast<long long>(shot.first));
    written = false;
  }
  return written ? 0 : kExitOutputFailed;
}

// The outputs of a run that a library ends from inside with exit(): Xlib does so, with
// status 1, when the X server goes away. They are finished on the way out, so that the
// recording and the trace are whole up to the last frame played.
vorlith::FrameReporter* reporterAtExit = nullptr;

void FinishOutputsAtExit() {
  if (reporterAtExit) reporterAtExit->Finish();
}

// The platform the options ask for, with its clock and message boxes replaced where a
// replay or an unpaced run needs it. Messages always pass through a recorder so that traces
// can report them.
std::unique_ptr<vorlith::Platform> MakePlatform(const vorlith::LaunchOptions& options,
                                                vorlith::RecordingDialogs*& dialogs) {
  using namespace vorlith;
  auto platform = options.headless ? CreateHeadlessPlatform() : CreatePlatform();
  if (!platform) return nullptr;
  // One sound output kept open for the whole run; each stage opens its devices on it.
  platform->audioSystem = std::make_unique<KeptAudioSystem>(std::move(platform->audioSystem));
  std::unique_ptr<Dialogs> shown = std::move(platform->dialogs);
  if (!options.replayPath.empty()) shown = CreateStderrDialogs();  // a replay never waits
  if (options.noPacing) {
    platform->clock = std::make_unique<UnpacedClock>(std::move(platform->clock));
  }
  auto recording = std::make_unique<RecordingDialogs>(std::move(shown));
  dialogs = recording.get();
  platform->dialogs = std::move(recording);
  return platform;
}

// A replay run plays the replay's controls in place of the keyboard and controllers.
void PlayReplay(const vorlith::LaunchOptions& options, vorlith::ReplayStream& replay,
                vorlith::GameApp& app, vorlith::FrameReporter::Settings& settings) {
  if (options.replayPath.empty()) return;
  auto source = std::make_unique<vorlith::ReplayPadSource>(&replay);
  settings.replay = source.get();
  app.SetPadSource(std::move(source));
  app.ResumeCombo(replay.GetOrigin().comboCount, replay.GetOrigin().comboTimer);
}

// The player's runs are kept in their data folder; replays and headless runs keep nothing.
void KeepRuns(const vorlith::LaunchOptions& options, vorlith::GameApp& app) {
  using namespace vorlith;
  if (!options.replayPath.empty() || options.headless) return;
  std::string why;
  const std::string folder = PlayerFolderPath(PlayerFolder::Data, why);
  if (folder.empty()) std::fprintf(stderr, "vorlith: high scores are not kept: %s\n", why.c_str());
  app.SetRunKeeper(std::make_unique<PlayerRecords>(folder, app.GetDialogs(), VORLITH_VERSION));
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

// The player's settings.ini, read before the window opens and written when the player leaves
// the options screen. A replay or headless run neither reads nor writes it: a replay plays
// recorded controls, not keys, at the effects' full level.
std::unique_ptr<vorlith::GameApp> MakeGame(std::unique_ptr<vorlith::Platform> platform,
                                           const vorlith::LaunchOptions& options) {
  using namespace vorlith;
  if (options.headless || !options.replayPath.empty()) {
    return std::make_unique<GameApp>(std::move(platform), options.gameArgs);
  }
  const std::string path = SettingsFile::Locate();
  auto app =
      std::make_unique<GameApp>(std::move(platform), options.gameArgs, SettingsFile::Load(path));
  app->SetSettingsSaver(
      [path](const Settings& settings) { return SettingsFile::Save(path, settings); });
  return app;
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
  auto* run = new BrowserRun;  // freed when its loop ends (the page may start another)
  run->unpaced = options.noPacing;
  std::string error;
  FrameReporter::Settings settings{options.tracePath, options.recordPath, options.screenshots};
  if (!options.replayPath.empty()) {
    if (!run->replay.Open(options.replayPath, error)) return Fail(error);
    if (run->replay.GetFrameCount() == 0) return WriteOutputsOfNoFrames(settings);
  }
  StartXModelImporter();
  auto platform = MakePlatform(options, settings.dialogs);
  if (!platform) return 1;
  if (!LocateData(*platform->dialogs)) return kExitNoData;
  run->app = MakeGame(std::move(platform), options);
  PlayReplay(options, run->replay, *run->app, settings);
  KeepRuns(options, *run->app);
  run->reporter = std::make_unique<FrameReporter>(*run->app, settings);
  if (!run->reporter->Open(error)) return Fail(error);
  GameApp* app = run->app.get();
  FrameReporter* reporter = run->reporter.get();
  app->SetFrameObserver([reporter] { reporter->OnFrame(); });
  if (!run->unpaced) app->SetFrameGate([app] { return app->GetFrameWaitMs(); });
  if (!app->Start()) return 1;
  RunBrowserMainLoop([run] {
    if (RunBrowserPass(*run)) return true;
    EndBrowserRun(*run);
    delete run;  // the window's listeners, the drawing context and the sound let go
    return false;
  });
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlith;
  ServeXModelImporterIfHelper(argc, argv);
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
  FrameReporter::Settings settings{options.tracePath, options.recordPath, options.screenshots};
  if (!options.replayPath.empty()) {
    if (!replay.Open(options.replayPath, error)) return Fail(error);
    if (replay.GetFrameCount() == 0) return WriteOutputsOfNoFrames(settings);
  }

  // The model importer's helper process, forked while this one is still small.
  StartXModelImporter();
  auto platform = MakePlatform(options, settings.dialogs);
  if (!platform) return 1;  // no display: said on stderr
  QuitSignals::Install();
  if (!LocateData(*platform->dialogs)) return kExitNoData;
  auto app = MakeGame(std::move(platform), options);
  PlayReplay(options, replay, *app, settings);
  KeepRuns(options, *app);
  FrameReporter reporter(*app, settings);
  if (!reporter.Open(error)) return Fail(error);
  app->SetFrameObserver([&reporter] { reporter.OnFrame(); });
  // A paced window waits for the frame's time before the frame reads the controls.
  if (!options.noPacing && !options.headless) {
    app->SetFrameGate([&app] { return app->GetFrameWaitMs(); });
  }
  reporterAtExit = &reporter;
  std::atexit(FinishOutputsAtExit);
  const int status = app->Run();
  reporterAtExit = nullptr;
  const bool written = reporter.Finish();
  const bool replayFailed = !replay.GetError().empty();  // the file changed under us
  if (replayFailed) Fail(replay.GetError());
  return ExitStatusAfterRun(status, written, replayFailed);
}
