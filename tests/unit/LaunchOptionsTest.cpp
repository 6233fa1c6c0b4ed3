#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/LaunchOptions.h"
#include "app/StartupOptions.h"

namespace vorlith {
namespace {

bool Parse(std::vector<const char*> args, LaunchOptions& options, std::string& error) {
  args.insert(args.begin(), "vorlith");
  return LaunchOptions::Parse(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(LaunchOptionsTest, LongOptionsAreTakenOutTheRestKeptInOrderAndUsageErrorsNamed) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"-w", "800", "--replay", "-h", "--trace", "t.jsonl", "--no-pacing", "-W", "--record",
             "r.replay", "-f", "--screenshot", "0:title.png", "--screenshot", "120:a:b.png"},
            options, error))
      << error;
  // A value is taken whatever it looks like.
  EXPECT_EQ(std::tuple(options.replayPath, options.tracePath, options.recordPath, options.noPacing),
            std::tuple("-h", "t.jsonl", "r.replay", true));
  EXPECT_EQ(options.gameArgs, (std::vector<std::string>{"vorlith", "-w", "800", "-W", "-f"}));
  using Shot = std::pair<std::int64_t, std::string>;
  EXPECT_EQ(options.screenshots, (std::vector<Shot>{{0, "title.png"}, {120, "a:b.png"}}));
  LaunchOptions help, version;  // help and version need nothing else
  EXPECT_TRUE(Parse({"--headless", "--help"}, help, error) && help.help && help.headless);
  EXPECT_TRUE(Parse({"--no-pacing", "--version"}, version, error) && version.version);
  // In a size's value place a double-dash word is that value; single-dash words stay the
  // display options' own.
  LaunchOptions words;
  ASSERT_TRUE(Parse({"-h", "--5", "-x", "--", "-fw", "--no"}, words, error)) << error;
  EXPECT_EQ(words.gameArgs,
            (std::vector<std::string>{"vorlith", "-h", "--5", "-x", "--", "-fw", "--no"}));

  // Each row: arguments a run refuses, and its whole message where it is pinned. An unknown
  // double-dash option is named with the nearest known one.
  const std::vector<std::pair<std::vector<const char*>, std::string>> bad = {
      {{"--headless"}, ""},
      {{"--no-pacing"}, "--no-pacing needs --replay FILE"},
      {{"--replay", "r", "--headless", "--screenshot", "5:x.png"}, ""},
      {{"--screenshot", "-1:x.png"}, ""},
      {{"--screenshot", "7:"}, ""},
      {{"--screenshot", "99999999999999:x.png"}, ""},
      {{"--trace"}, ""},
      {{"--replay"}, ""},
      {{"--replay", ""}, "--replay needs a file name, not an empty string"},
      {{"--record", "r.replay", "--trace", "./r.replay"}, ""},
      {{"--screenshot", "1:a.png", "--screenshot", "2:a.png"}, ""},
      {{"--screenshot", "\x1b[2J\xff"}, "--screenshot takes FRAME:FILE.png, not '\\x1b[2J\\xff'"},
      {{"--hlep"}, "unknown option '--hlep' (did you mean --help?)"},
      {{"--fullscreen"}, "unknown option '--fullscreen' (did you mean --trace?)"},
      {{"-w", "-w", "--recrod=x"}, "unknown option '--recrod=x' (did you mean --record?)"},
  };
  for (const auto& [args, message] : bad) {
    LaunchOptions refused;
    std::string why;
    EXPECT_FALSE(Parse(args, refused, why)) << args[0];
    EXPECT_TRUE(message.empty() ? !why.empty() : why == message) << why;
  }
}

TEST(StartupOptionsTest, EachArgumentListGivesItsSizesAndMode) {
  struct Case {
    std::vector<std::string> args;
    int ww, wh, fw, fh;
    bool full = false;
  };
  const Case cases[] = {
      {{}, 640, 480, 640, 480},
      {{"-w", "800", "-h", "600"}, 800, 600, 800, 600},
      {{"-ww", "320", "-wh", "200", "-fw", "1024", "-fh", "768"}, 320, 200, 1024, 768},
      {{"stray", "-f"}, 640, 480, 640, 480, true},
      // Later options override earlier ones.
      {{"-fw", "1024", "-w", "800"}, 800, 480, 800, 480},
      {{"-w", "800", "-fw", "1024"}, 800, 480, 1024, 480},
      // Values read like atoi, saturating beyond int.
      {{"-w", "abc", "-h", "  42"}, 0, 42, 0, 42},
      {{"-w", "800px", "-h", "+7"}, 800, 7, 800, 7},
      {{"-w", "-5", "-h", ""}, -5, 0, -5, 0},
      {{"-w", "99999999999999999999", "-h", "-99999999999"}, INT_MAX, INT_MIN, INT_MAX, INT_MIN},
      // A value is taken whatever it looks like; "300" is then a stray argument.
      {{"-w", "-f"}, 0, 480, 0, 480},
      {{"-ww", "-h", "300"}, 0, 480, 640, 480},
      // Case-sensitive; unknown arguments and a missing last value are ignored.
      {{"-W", "800", "-H", "600", "--size", "x", "-F", "-ff"}, 640, 480, 640, 480},
      {{"-h", "300", "-w"}, 640, 300, 640, 300},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "vorlith");
    const StartupOptions o = StartupOptions::Parse(args);
    EXPECT_EQ(std::tuple(o.windowWidth, o.windowHeight, o.fullScreenWidth, o.fullScreenHeight,
                         o.fullScreen),
              std::tuple(c.ww, c.wh, c.fw, c.fh, c.full))
        << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace vorlith
