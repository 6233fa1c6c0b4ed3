#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameReporter.h"
#include "app/GameApp.h"
#include "app/LaunchOptions.h"
#include "app/RecordingDialogs.h"
#include "app/UnpacedClock.h"
#include "input/ReplayInputDevices.h"
#include "input/ReplayStream.h"
#include "platform/DataDirectory.h"
#include "platform/ExecutablePath.h"
#include "platform/KeptAudioSystem.h"
#include "platform/Platform.h"
#include "platform/XModelLoader.h"

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
  auto platform = options.headless ? CreateHeadlessPlatform() : CreateSdlPlatform();
  if (!platform) return nullptr;
  // One sound output for the whole run instead of one opened and closed with every stage.
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
