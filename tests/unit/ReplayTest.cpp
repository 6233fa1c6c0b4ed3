#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
  ASSERT_TRUE(ParseText(
      "vorlith-replay 1\n# wait on the title\n3 -\n\n2 ZU   # fire while moving up\n1 VCXZRLDU\r\n",
      script, error))
      << error;
  EXPECT_EQ(script.GetFrameCount(), 6);
  // U and Z in any order; past either end nothing is held.
  const std::vector<ReplayControls> expected = {0, 0, 0, 0x11, 0x11, 0xFF, 0};
  for (int frame = -1; frame <= 6; ++frame) {
    EXPECT_EQ(script.GetControls(frame), frame < 0 ? 0 : expected[frame]) << frame;
  }
}

TEST(ReplayScriptTest, RefusesMalformedLinesNamingTheLine) {
  const std::pair<const char*, const char*> cases[] = {
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
  for (const auto& [text, expected] : cases) {
    ReplayScript script;
    std::string error;
    EXPECT_FALSE(ParseText(text, script, error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << "got: " << error;
  }
}

TEST(ReplayRecorderTest, RecordedFramesPlayBackTheSame) {
  const std::string path = testing::TempDir() + "/round.replay";
  const std::vector<ReplayControls> frames = {0, 0, 0x10, 0x10, 0x18, 0x40, 0x40, 0x40, 0};
  std::string error;
  {
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.Open(path, error)) << error;
    for (ReplayControls c : frames) recorder.Record(c);
  }  // closing writes the last run
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  EXPECT_EQ(text.str(), "vorlith-replay 1\n2 -\n2 Z\n1 RZ\n3 C\n1 -\n");
  ReplayScript script;
  ASSERT_TRUE(script.Load(path, error)) << error;
  ASSERT_EQ(script.GetFrameCount(), static_cast<std::int64_t>(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(script.GetControls(i), frames[i]);
}

}  // namespace
}  // namespace vorlith
