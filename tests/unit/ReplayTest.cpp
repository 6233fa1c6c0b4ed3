#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "input/KeyInput.h"
#include "input/ReplayInputDevices.h"
#include "input/ReplayRecorder.h"
#include "input/ReplayScript.h"

namespace vorlith {
namespace {

bool ParseText(const std::string& text, ReplayScript& script, std::string& error) {
  std::istringstream in(text);
  return script.Parse(in, error);
}

TEST(ReplayScriptTest, RunsCommentsAndBlankLines) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(
      ParseText("vorlith-replay 1\n"
                "# wait on the title\n"
                "3 -\n"
                "\n"
                "2 ZU   # fire while moving up\n"
                "1 VCXZRLDU\r\n",
                script, error))
      << error;
  EXPECT_EQ(script.GetFrameCount(), 6);
  EXPECT_EQ(script.GetControls(0), 0);
  EXPECT_EQ(script.GetControls(2), 0);
  EXPECT_EQ(script.GetControls(3), 0x11);  // U and Z in any order
  EXPECT_EQ(script.GetControls(4), 0x11);
  EXPECT_EQ(script.GetControls(5), 0xFF);
  EXPECT_EQ(script.GetControls(6), 0);  // past the end: nothing held
  EXPECT_EQ(script.GetControls(-1), 0);
}

TEST(ReplayScriptTest, RefusesMalformedLinesNamingTheLine) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "line 1: expected the first line"},
      {"vorlith-replay 2\n1 -\n", "line 1: expected the first line"},
      {"\nvorlith-replay 1\n", "line 1: expected the first line"},
      {"vorlith-replay 1\n1 -\n2 Q\n", "line 3: unknown control 'Q'"},
      {"vorlith-replay 1\n2 z\n", "line 2: unknown control 'z'"},
      {"vorlith-replay 1\n0 Z\n", "line 2: frame count '0'"},
      {"vorlith-replay 1\n-4 Z\n", "line 2: frame count '-4'"},
      {"vorlith-replay 1\n99999999999 Z\n", "line 2: frame count '99999999999'"},
      {"vorlith-replay 1\nZ\n", "line 2: expected 'COUNT CONTROLS'"},
      {"vorlith-replay 1\n3 Z X\n", "line 2: unexpected 'X'"},
      {"vorlith-replay 1\n1000000000 Z\n1 Z\n", "line 3: the replay is longer"},
  };
  for (const auto& c : cases) {
    ReplayScript script;
    std::string error;
    EXPECT_FALSE(ParseText(c.text, script, error)) << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << "got: " << error;
  }
}

TEST(ReplayScriptTest, LoadNamesTheFileInItsErrors) {
  const std::string path = testing::TempDir() + "/bad.replay";
  std::ofstream(path) << "vorlith-replay 1\n5 ZZ\n2 +\n";
  ReplayScript script;
  std::string error;
  EXPECT_FALSE(script.Load(path, error));
  EXPECT_EQ(error, path + ":3: unknown control '+' (expected letters of UDLRZXCV or -)");
  EXPECT_FALSE(script.Load(path + ".missing", error));
  EXPECT_EQ(error, path + ".missing: cannot open");
}

TEST(ReplayRecorderTest, RecordedFramesPlayBackTheSame) {
  const std::string path = testing::TempDir() + "/round.replay";
  const std::vector<ReplayControls> frames = {0, 0, 0x10, 0x10, 0x18, 0x40, 0x40, 0x40, 0};
  {
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.Open(path));
    for (ReplayControls c : frames) recorder.Record(c);
  }  // closing writes the last run
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(script.Load(path, error)) << error;
  ASSERT_EQ(script.GetFrameCount(), static_cast<std::int64_t>(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(script.GetControls(i), frames[i]);

  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "vorlith-replay 1\n2 -\n2 Z\n1 RZ\n3 C\n1 -\n");
}

TEST(ReplayInputDevicesTest, EachInputRefreshPlaysOneFrame) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(ParseText("vorlith-replay 1\n1 UZ\n1 LV\n", script, error)) << error;
  ReplayInputDevices devices(&script);
  KeyInput input(&devices);

  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(pad.up, 1);
  EXPECT_EQ(pad.buttons[0], 1);
  EXPECT_FLOAT_EQ(pad.stickY, -1.0f);
  EXPECT_EQ(ControlsFromPad(pad), 0x11);
  EXPECT_FALSE(devices.IsFinished());

  input.Update();
  EXPECT_EQ(pad.up, 0);
  EXPECT_EQ(pad.left, 1);
  EXPECT_EQ(pad.buttons[3], 1);
  EXPECT_TRUE(devices.IsFinished());
  EXPECT_EQ(devices.GetFramesRead(), 2);
}

}  // namespace
}  // namespace vorlith
