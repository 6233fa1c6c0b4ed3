#include "app/SettingsFile.h"

#include <cstdio>
#include <vector>

#include "base/Utf8.h"
#include "platform/PlayerFiles.h"
#include "platform/RegularFile.h"

namespace vorlith {
namespace {

void Say(const std::string& text) {
  std::fprintf(stderr, "vorlith: %s\n", text.c_str());
}

}  // namespace

std::string SettingsFile::Locate() {
  std::string why;
  const std::string folder = PlayerFolderPath(PlayerFolder::Config, why);
  if (folder.empty()) {
    Say("settings are not kept: " + why);
    return {};
  }
  return folder + "/" + kName;
}

Settings SettingsFile::Load(const std::string& path) {
  if (path.empty()) return Settings{};
  std::string text, why;
  const RegularFile::Result result = RegularFile::Read(path, kMaxBytes, text, why);
  if (result == RegularFile::Result::Missing) return Settings{};
  const std::string shown = EscapeForMessage(path);
  if (result == RegularFile::Result::Read && text.find('\0') != std::string::npos) {
    why = "holds binary data";
  } else if (result == RegularFile::Result::Read) {
    std::vector<std::string> messages;
    const Settings settings = Settings::Parse(text, shown, messages);
    for (const std::string& message : messages) Say(message);
    return settings;
  }
  std::string keptWhy;
  const std::string kept = KeepFileAside(path, keptWhy);
  Say(shown + ": cannot be read (" + why + "); " +
      (kept.empty() ? "it stays, " + keptWhy : "kept as " + EscapeForMessage(kept)) +
      "; the defaults are used");
  return Settings{};
}

std::string SettingsFile::Save(const std::string& path, const Settings& settings) {
  if (path.empty()) return {};
  std::string why;
  if (!WriteFileWhole(path, settings.ToText(), why)) {
    return "The settings were not saved: " + EscapeForMessage(why) +
           ". The file was left as it was.";
  }
  SyncPlayerFiles();
  return {};
}

}  // namespace vorlith
