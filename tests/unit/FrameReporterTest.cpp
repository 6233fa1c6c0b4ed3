#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestPlatform.h"
#include "app/FrameReporter.h"
#include "app/GameApp.h"
#include "app/RecordingDialogs.h"
#include "input/ReplayInputDevices.h"
#include "input/ReplayScript.h"

namespace vorlith {
namespace {

// A headless game driven by a replay, as --headless --replay runs it, recording and tracing.
TEST(FrameReporterTest, ReplayRunsToItsEndWithOneTraceLineAndTheSameControlsPerFrame) {
  testing::TestPlatform test;
  ReplayScript script;
  std::istringstream replay("vorlith-replay 1\n3 UL\n1 -\n1 ZRC\n2 DXV\n");
  std::string error;
  ASSERT_TRUE(script.Parse(replay, error)) << error;
  FrameReporter::Settings settings;
  settings.tracePath = ::testing::TempDir() + "/reporter.jsonl";
  settings.recordPath = ::testing::TempDir() + "/recorded.replay";
  auto devices = std::make_unique<ReplayInputDevices>(&script);
  settings.replay = devices.get();
  test.platform->inputDevices = std::move(devices);
  auto dialogs = std::make_unique<RecordingDialogs>(nullptr);
  settings.dialogs = dialogs.get();
  test.platform->dialogs = std::move(dialogs);
  {
    GameApp app(test.Take(), {"vorlith"});
    app.SetStageSetUp(1, nullptr);  // no stage can start: Z shows the missing-ship box
    FrameReporter reporter(app, settings);
    ASSERT_TRUE(reporter.Open(error)) << error;
    app.SetFrameObserver([&reporter] { reporter.OnFrame(); });
    EXPECT_EQ(app.Run(), 0);
  }
  std::stringstream recorded;
  recorded << std::ifstream(settings.recordPath).rdbuf();
  EXPECT_EQ(recorded.str(), "vorlith-replay 1\n3 UL\n1 -\n1 RZC\n2 DXV\n");

  std::ifstream trace(settings.tracePath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(trace, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 7u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind("{\"frame\":" + std::to_string(i) + ",\"scene\":1,", 0), 0u)
        << lines[i];
    // The box of the failed start belongs to the frame in which Z was held, and only to it.
    const std::string messages = i != 4 ? "\"messages\":[]"
                                        : "\"messages\":[[\"Error\",\"自機が登録されていません。"
                                          "\\nMyShip is not registered.\"]]";
    EXPECT_NE(lines[i].find(messages), std::string::npos) << lines[i];
  }
  EXPECT_NE(lines[0].find("\"fps\":10,"), std::string::npos);  // the first frame counts 100 ms
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
