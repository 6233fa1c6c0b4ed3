#include <gtest/gtest.h>

#include <vector>

#include "app/LaunchOptions.h"

namespace vorlith {
namespace {

bool Parse(std::vector<const char*> args, LaunchOptions& options, std::string& error) {
  args.insert(args.begin(), "vorlith");
  return LaunchOptions::Parse(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(LaunchOptionsTest, LongOptionsAreTakenOutAndTheRestKeptInOrder) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"-w", "800", "--replay", "-h", "--trace", "t.jsonl", "--headless",
                     "--no-pacing", "-W", "--record", "r.replay", "-f"},
                    options, error))
      << error;
  EXPECT_EQ(options.replayPath, "-h");  // a value is taken whatever it looks like
  EXPECT_EQ(options.tracePath, "t.jsonl");
  EXPECT_EQ(options.recordPath, "r.replay");
  EXPECT_TRUE(options.headless);
  EXPECT_TRUE(options.noPacing);
  EXPECT_EQ(options.gameArgs, (std::vector<std::string>{"vorlith", "-w", "800", "-W", "-f"}));
}

TEST(LaunchOptionsTest, ScreenshotsMayRepeat) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--screenshot", "0:title.png", "--screenshot", "120:a:b.png"}, options, error))
      << error;
  ASSERT_EQ(options.screenshots.size(), 2u);
  EXPECT_EQ(options.screenshots[0], (std::pair<std::int64_t, std::string>{0, "title.png"}));
  EXPECT_EQ(options.screenshots[1], (std::pair<std::int64_t, std::string>{120, "a:b.png"}));
}

TEST(LaunchOptionsTest, UsageErrors) {
  const std::vector<std::vector<const char*>> bad = {
      {"--headless"},
      {"--no-pacing"},
      {"--replay", "r", "--headless", "--screenshot", "5:x.png"},
      {"--screenshot", "x.png"},
      {"--screenshot", "-1:x.png"},
      {"--screenshot", "7:"},
      {"--screenshot", "99999999999999:x.png"},
      {"--trace"},
      {"--replay"},
  };
  for (const auto& args : bad) {
    LaunchOptions options;
    std::string error;
    EXPECT_FALSE(Parse(args, options, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(LaunchOptionsTest, HelpAndVersionNeedNothingElse) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--headless", "--help"}, options, error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(Parse({"--version"}, options, error));
  EXPECT_TRUE(options.version);
  EXPECT_NE(LaunchOptions::HelpText("vorlith").find("--replay FILE"), std::string::npos);
}

}  // namespace
}  // namespace vorlith
