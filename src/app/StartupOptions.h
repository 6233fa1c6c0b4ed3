#pragma once

#include <string>
#include <vector>

namespace vorlith {

// Display sizes and mode from the command line.
//   -w N   full-screen and window width      -h N   full-screen and window height
//   -ww N  window width only                 -wh N  window height only
//   -fw N  full-screen width only            -fh N  full-screen height only
//   -f     start in full screen
// Values are read like atoi (leading number, 0 for text, saturating instead of overflowing);
// the argument after a sized option is always taken as its value; later options win;
// anything else, and a sized option without a value, is ignored without a word.
struct StartupOptions {
  int windowWidth = 640;
  int windowHeight = 480;
  int fullScreenWidth = 640;
  int fullScreenHeight = 480;
  bool fullScreen = false;

  // args[0] is the program path and is not an option. The options change `start` (the
  // defaults above when not given).
  static StartupOptions Parse(const std::vector<std::string>& args);
  static StartupOptions Parse(const std::vector<std::string>& args, const StartupOptions& start);
  // The C runtime's atoi, but defined for numbers beyond the int range (they saturate).
  static int ToInt(const std::string& text);
};

}  // namespace vorlith
