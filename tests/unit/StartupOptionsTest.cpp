#include <gtest/gtest.h>

#include <climits>

#include "app/StartupOptions.h"

namespace vorlith {
namespace {

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
