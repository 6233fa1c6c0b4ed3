#pragma once

#include <cstddef>
#include <string>

#include "app/Settings.h"

namespace vorlith {

// settings.ini in the player's config folder: read at start, written whole when the player
// leaves the options screen. What cannot be used is said on stderr, one line each, and the
// game plays on with the defaults for it.
class SettingsFile {
 public:
  static constexpr const char* kName = "settings.ini";
  static constexpr std::size_t kMaxBytes = 64 * 1024;

  // The file's path; empty when the player has no config folder (nothing is then kept).
  static std::string Locate();
  // The settings the file holds; the defaults when it is missing. A file that cannot be
  // read (too large, not a regular file, binary) is renamed aside and the defaults used.
  static Settings Load(const std::string& path);
  // False (with a line on stderr) when it could not be written; the old file then stands.
  static bool Save(const std::string& path, const Settings& settings);
};

}  // namespace vorlith
