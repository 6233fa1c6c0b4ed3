#include <gtest/gtest.h>

#include <climits>

#include "app/StartupOptions.h"

namespace vorlith {
namespace {

StartupOptions Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "vorlith");
  return StartupOptions::Parse(args);
}

void ExpectSizes(const StartupOptions& o, int ww, int wh, int fw, int fh) {
  EXPECT_EQ(o.windowWidth, ww);
  EXPECT_EQ(o.windowHeight, wh);
  EXPECT_EQ(o.fullScreenWidth, fw);
  EXPECT_EQ(o.fullScreenHeight, fh);
}

TEST(StartupOptionsTest, DefaultsAndEachOptionSetsItsFields) {
  StartupOptions none = Parse({});
  ExpectSizes(none, 640, 480, 640, 480);
  EXPECT_FALSE(none.fullScreen);

  ExpectSizes(Parse({"-w", "800", "-h", "600"}), 800, 600, 800, 600);
  ExpectSizes(Parse({"-ww", "320"}), 320, 480, 640, 480);
  ExpectSizes(Parse({"-wh", "200", "-fw", "1024", "-fh", "768"}), 640, 200, 1024, 768);
  EXPECT_TRUE(Parse({"-f"}).fullScreen);
}

TEST(StartupOptionsTest, LaterOptionsOverrideEarlierOnes) {
  ExpectSizes(Parse({"-fw", "1024", "-w", "800"}), 800, 480, 800, 480);
  ExpectSizes(Parse({"-w", "800", "-fw", "1024"}), 800, 480, 1024, 480);
}

TEST(StartupOptionsTest, ValuesAreReadLikeAtoi) {
  ExpectSizes(Parse({"-w", "abc"}), 0, 480, 0, 480);
  ExpectSizes(Parse({"-w", "800px", "-h", "  42"}), 800, 42, 800, 42);
  ExpectSizes(Parse({"-w", "-5", "-h", "+7"}), -5, 7, -5, 7);
  ExpectSizes(Parse({"-w", "100000"}), 100000, 480, 100000, 480);
  ExpectSizes(Parse({"-w", ""}), 0, 480, 0, 480);
}

TEST(StartupOptionsTest, NumbersBeyondIntSaturate) {
  ExpectSizes(Parse({"-w", "99999999999999999999", "-h", "-99999999999"}), INT_MAX, INT_MIN,
              INT_MAX, INT_MIN);
}

TEST(StartupOptionsTest, TheValueIsTakenWhateverItLooksLike) {
  StartupOptions o = Parse({"-w", "-f"});
  EXPECT_FALSE(o.fullScreen);
  ExpectSizes(o, 0, 480, 0, 480);
  ExpectSizes(Parse({"-ww", "-h", "300"}), 0, 480, 640, 480);  // "300" is a stray argument
}

TEST(StartupOptionsTest, UnknownArgumentsAndAMissingLastValueAreIgnored) {
  ExpectSizes(Parse({"-W", "800", "-H", "600", "--size", "x"}), 640, 480, 640, 480);
  ExpectSizes(Parse({"-h", "300", "-w"}), 640, 300, 640, 300);
  EXPECT_TRUE(Parse({"stray", "-f", "-F"}).fullScreen);
  EXPECT_FALSE(Parse({"-F", "-ff", "f"}).fullScreen);
}

}  // namespace
}  // namespace vorlith
