#pragma once

#include <cstddef>
#include <string>

namespace vorlith {

// Game controller mappings on top of SDL's built-in ones: the mapping strings in the
// SDL_GAMECONTROLLERCONFIG environment variable and the player's own gamecontrollerdb.txt
// in the configuration directory. Each line is added on its own, so that one bad line costs
// only itself: it is passed over with one line on stderr.
class SdlControllerMappings {
 public:
  // Files larger than this are not read (the whole community database is under 1 MB).
  static constexpr std::size_t kMaxFileBytes = 4u * 1024u * 1024u;

  // Adds both sources; needs SDL's game controller subsystem.
  static void LoadAll();

  // Adds every mapping line of text and returns how many were taken. Empty lines, comments
  // (#) and lines for another platform are passed over quietly; a line SDL refuses is
  // reported on stderr as "<origin> line N: ...".
  static int AddFromText(const std::string& text, const std::string& origin);
  // As AddFromText on the file's content; a missing file is no error and gives 0. Anything
  // but a regular file of at most kMaxFileBytes (a device, a FIFO, a directory) is not read,
  // with one line on stderr.
  static int AddFromFile(const std::string& path);

  // $XDG_CONFIG_HOME/vorlith/gamecontrollerdb.txt, else ~/.config/vorlith/...; empty when
  // neither directory is known.
  static std::string UserFilePath();
};

}  // namespace vorlith
