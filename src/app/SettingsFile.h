#pragma once

#include <cstddef>
#include <string>

#include "app/Settings.h"

namespace vorlith {

// settings.ini in the player's config folder: read at start, written whole when the player
// leaves the options screen (a failed write is the caller's to show). What in it cannot be
// used is said on stderr, one line each, and the game plays on with the defaults for it.
class SettingsFile {
 public:
  static constexpr const char* kName = "settings.ini";
  static constexpr std::size_t kMaxBytes = 64 * 1024;

  // The file's path; empty when the player has no config folder (nothing is then kept).
  static std::string Locate();
  // The settings the file holds; the defaults when it is missing. A file that cannot be
  // read (too large, not a regular file, binary) is renamed aside and the defaults used.
  static Settings Load(const std::string& path);
  // Empty when written; else what the player is told (the file named, the old file then
  // stands). Nothing is kept without a path.
  static std::string Save(const std::string& path, const Settings& settings);
};

}  // namespace vorlith
