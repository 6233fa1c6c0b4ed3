#include "platform/sdl/SdlControllerMappings.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/Utf8.h"
#include "platform/RegularFile.h"

namespace vorlith {
namespace {

constexpr const char* kUserFile = "vorlith/gamecontrollerdb.txt";

// A mapping meant for another system: its GUIDs never match a device here.
bool ForAnotherPlatform(const std::string& line) {
  const std::string key = "platform:";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return false;
  const std::size_t start = at + key.size();
  return line.compare(start, line.find(',', start) - start, SDL_GetPlatform()) != 0;
}

std::string Trimmed(std::string line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const std::size_t last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

}  // namespace

void SdlControllerMappings::LoadAll() {
  // SDL read the variable itself at start-up, quietly; adding it again line by line names
  // the lines it passed over.
  if (const char* hint = std::getenv("SDL_GAMECONTROLLERCONFIG")) {
    AddFromText(hint, "SDL_GAMECONTROLLERCONFIG");
  }
  const std::string path = UserFilePath();
  if (!path.empty()) AddFromFile(path);
}

int SdlControllerMappings::AddFromText(const std::string& text, const std::string& origin) {
  std::istringstream lines(text);
  std::string line;
  int added = 0;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#' || ForAnotherPlatform(line)) continue;
    if (SDL_GameControllerAddMapping(line.c_str()) >= 0) {
      ++added;
    } else {
      // SDL's message may quote the line.
      std::fprintf(stderr, "vorlith: %s line %d: controller mapping skipped (%s)\n",
                   EscapeForMessage(origin).c_str(), number,
                   EscapeForMessage(SDL_GetError()).c_str());
    }
  }
  return added;
}

int SdlControllerMappings::AddFromFile(const std::string& path) {
  std::string text, why;
  const RegularFile::Result result = RegularFile::Read(path, kMaxFileBytes, text, why);
  if (result == RegularFile::Result::Read) return AddFromText(text, path);
  if (result != RegularFile::Result::Missing) {
    std::fprintf(stderr, "vorlith: %s: not read (%s)\n", EscapeForMessage(path).c_str(),
                 why.c_str());
  }
  return 0;
}

std::string SdlControllerMappings::UserFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/" + kUserFile;
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/" + kUserFile;
  return {};
}

}  // namespace vorlith
