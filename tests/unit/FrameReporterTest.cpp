#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "app/FrameReporter.h"
#include "app/GameApp.h"
#include "app/RecordingDialogs.h"
#include "input/ReplayInputDevices.h"
#include "input/ReplayScript.h"

namespace vorlith {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A headless game driven by a replay, as --headless --replay runs it.
struct ReplayRun {
  testing::TestPlatform test;
  ReplayScript script;
  RecordingDialogs* dialogs = nullptr;
  FrameReporter::Settings settings;

  explicit ReplayRun(const std::string& replayText) {
    std::istringstream in(replayText);
    std::string error;
    EXPECT_TRUE(script.Parse(in, error)) << error;
    auto replay = std::make_unique<ReplayInputDevices>(&script);
    settings.replay = replay.get();
    test.platform->inputDevices = std::move(replay);
    auto recording = std::make_unique<RecordingDialogs>(nullptr);
    dialogs = recording.get();
    settings.dialogs = dialogs;
    test.platform->dialogs = std::move(recording);
  }

  int Run() {
    GameApp app(test.Take(), {"vorlith"});
    app.SetStageSetUp(1, nullptr);  // no stage can start: every Z shows the missing-ship box
    FrameReporter reporter(app, settings);
    std::string error;
    EXPECT_TRUE(reporter.Open(error)) << error;
    app.SetFrameObserver([&reporter] { reporter.OnFrame(); });
    return app.Run();
  }
};

TEST(FrameReporterTest, ReplayEndsTheRunAfterItsLastFrameWithOneTraceLineEach) {
  ReplayRun run("vorlith-replay 1\n4 -\n1 Z\n2 -\n");
  run.settings.tracePath = ::testing::TempDir() + "/reporter.jsonl";
  EXPECT_EQ(run.Run(), 0);
  const std::vector<std::string> lines = ReadLines(run.settings.tracePath);
  ASSERT_EQ(lines.size(), 7u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind("{\"frame\":" + std::to_string(i) + ",\"scene\":1,", 0), 0u)
        << lines[i];
  }
  // The box of the failed start belongs to the frame in which Z was held, and only to it.
  EXPECT_NE(lines[4].find("\"messages\":[[\"Error\",\"自機が登録されていません。\\nMyShip is "
                          "not registered.\"]]"),
            std::string::npos)
      << lines[4];
  EXPECT_NE(lines[3].find("\"messages\":[]"), std::string::npos);
  EXPECT_NE(lines[5].find("\"messages\":[]"), std::string::npos);
  EXPECT_NE(lines[0].find("\"fps\":10,"), std::string::npos);  // the first frame counts 100 ms
}

TEST(FrameReporterTest, RecordingWhileReplayingWritesTheSameControls) {
  const std::string replay = "vorlith-replay 1\n3 UL\n2 -\n5 ZRC\n1 DXV\n";
  ReplayRun run(replay);
  run.settings.recordPath = ::testing::TempDir() + "/recorded.replay";
  EXPECT_EQ(run.Run(), 0);
  std::ifstream in(run.settings.recordPath);
  std::stringstream recorded;
  recorded << in.rdbuf();
  EXPECT_EQ(recorded.str(), "vorlith-replay 1\n3 UL\n2 -\n5 RZC\n1 DXV\n");
}

TEST(FrameReporterTest, UnwritableOutputIsRefused) {
  testing::TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  FrameReporter::Settings settings;
  settings.tracePath = "/nonexistent-dir/trace.jsonl";
  FrameReporter reporter(app, settings);
  std::string error;
  EXPECT_FALSE(reporter.Open(error));
  EXPECT_EQ(error, "/nonexistent-dir/trace.jsonl: cannot write the trace");
}

}  // namespace
}  // namespace vorlith
