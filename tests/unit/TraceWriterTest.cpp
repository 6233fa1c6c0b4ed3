#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestFiles.h"
#include "replay/TraceWriter.h"

namespace vorlith {
namespace {

TEST(TraceWriterTest, OneLineOfJsonPerFrameWrittenAtOnce) {
  TraceFrame frame;
  frame.fps = 10;
  // Nulls on the title, three decimals in play.
  EXPECT_EQ(TraceWriter::Format(frame),
            "{\"frame\":0,\"scene\":1,\"stage\":1,\"score\":0,\"fps\":10,\"time\":null,"
            "\"ship\":null,\"boss\":null,\"enemies\":0,\"bullets\":0,\"items\":0,\"kills\":0,"
            "\"combo\":0,\"request\":\"\",\"messages\":[],\"sounds\":[]}");

  frame.frame = 1234;
  frame.scene = 0;
  frame.score = 4294967295u;
  frame.time = 77;
  frame.ship = TraceFrame::Ship{50.0f, 89.9996f, -2, 110, 1, true};
  frame.boss = TraceFrame::Boss{-0.0004f, 10.125f, 100, 3, 250, true, false};
  frame.bullets = 500;
  frame.request = 'c';
  frame.messages = {{"Error", "自機が登録されていません。\nMyShip is not registered."},
                    {"a\"b\\", "\x01"}};
  frame.sounds = {0, 1, 0};
  const std::string line = TraceWriter::Format(frame);
  for (const char* part :
       {"{\"frame\":1234,\"scene\":0,\"stage\":1,\"score\":4294967295,\"fps\":10,\"time\":77,",
        "\"ship\":{\"x\":50.000,\"y\":90.000,\"hp\":-2,\"hpMax\":110,\"shotInterval\":1,"
        "\"finished\":true},",
        "\"boss\":{\"x\":-0.000,\"y\":10.125,\"hp\":100,\"phase\":3,\"age\":250,\"inPlay\":true,"
        "\"finished\":false},",
        "\"bullets\":500,", "\"request\":\"c\",",
        "\"messages\":[[\"Error\",\"自機が登録されていません。\\nMyShip is not registered.\"],"
        "[\"a\\\"b\\\\\",\"\\u0001\"]],\"sounds\":[0,1,0]}"}) {
    EXPECT_NE(line.find(part), std::string::npos) << part << "\nin " << line;
  }
  EXPECT_EQ(line.find('\n'), std::string::npos);

  // Bytes that are not UTF-8 (a message quoting a damaged file) still make valid JSON.
  frame.messages = {{"Error",
                     "a\xff\xe3\x81"
                     "b\x1b"}};
  EXPECT_NE(TraceWriter::Format(frame).find("[[\"Error\",\"a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"
                                            "b\\u001b\"]]"),
            std::string::npos)
      << TraceWriter::Format(frame);

  // Each frame is in the file while the trace is still open.
  const testing::ScratchFolder folder("vorlith-trace-writer");
  const std::string path = folder / "flush.jsonl";
  TraceWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(path, error)) << error;
  for (int i = 0; i < 3; ++i) {
    frame.frame = i;
    writer.Write(frame);
    const std::string written = testing::ReadWhole(path);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), i + 1);
  }
  writer.Close();
}

}  // namespace
}  // namespace vorlith
