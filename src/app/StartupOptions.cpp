#include "app/StartupOptions.h"

#include <climits>
#include <cstdlib>

namespace vorlith {

int StartupOptions::ToInt(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

StartupOptions StartupOptions::Parse(const std::vector<std::string>& args) {
  return Parse(args, StartupOptions());
}

StartupOptions StartupOptions::Parse(const std::vector<std::string>& args,
                                     const StartupOptions& start) {
  StartupOptions options = start;
  struct Sized {
    const char* name;
    int* first;
    int* second;
  };
  const Sized sized[] = {
      {"-w", &options.fullScreenWidth, &options.windowWidth},
      {"-h", &options.fullScreenHeight, &options.windowHeight},
      {"-ww", &options.windowWidth, nullptr},
      {"-wh", &options.windowHeight, nullptr},
      {"-fw", &options.fullScreenWidth, nullptr},
      {"-fh", &options.fullScreenHeight, nullptr},
  };
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-f") {
      options.fullScreen = true;
      continue;
    }
    for (const Sized& option : sized) {
      if (args[i] != option.name || i + 1 >= args.size()) continue;
      const int value = ToInt(args[++i]);
      *option.first = value;
      if (option.second) *option.second = value;
      break;
    }
  }
  return options;
}

}  // namespace vorlith
