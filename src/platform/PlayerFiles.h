#pragma once

#include <string>

namespace vorlith {

// The player's own files (high scores, replays, settings): where they live, and how they are
// written so that none is ever left half written, nor lost when it cannot be read.
//
//   std::string why;
//   const std::string folder = PlayerFolderPath(PlayerFolder::Data, why);  // "": keep nothing
//   RegularFile::Read(folder + "/scores.txt", kMax, text, why);  // Missing, TooLarge, ...
//   if (!WriteFileWhole(folder + "/scores.txt", text, why)) ShowMessage(why);
//   KeepFileAside(folder + "/scores.txt", why);  // a damaged file, renamed beside itself
//   FileLock lock(folder + "/scores.lock");      // read, merge and write while it is held
//
// Paths are UTF-8. Every function reports a failure in `why`, naming the file and the
// system's reason, and prints nothing.

enum class PlayerFolder {
  Data,    // $XDG_DATA_HOME/vorlith (~/.local/share/vorlith), %APPDATA%\Vorlith, /player/data
  Config,  // $XDG_CONFIG_HOME/vorlith (~/.config/vorlith), %APPDATA%\Vorlith, /player/config
};

// The folder, created with its parents when missing; without a trailing separator. Empty
// when there is none for this user or it cannot be created (`why` then says so): the game
// then keeps nothing and plays on. In the browser the folders lie in the page's persistent
// storage (IndexedDB through emscripten's IDBFS, mounted at /player and loaded before the
// program starts).
std::string PlayerFolderPath(PlayerFolder which, std::string& why);

// Writes `bytes` as the whole of `path`, or leaves whatever was there untouched: a temporary
// file beside it is written, flushed, synced to the disk and renamed over the old one. False
// on any failure (a full disk, a read-only folder), with the temporary file removed.
bool WriteFileWhole(const std::string& path, const std::string& bytes, std::string& why);

// Renames a damaged file to an unused name beside it (PATH.bad, PATH.bad-2, ...) and
// returns that name; empty when it cannot (`why`). Never deletes anything.
std::string KeepFileAside(const std::string& path, std::string& why);

// Removes a file the game itself wrote and no longer needs (a replay whose entry left the
// high score table); true when it is gone (or was never there).
bool RemovePlayerFile(const std::string& path, std::string& why);

// Hands the player's files to lasting storage: the page's IndexedDB in the browser (after
// every write of the functions above it happens by itself), nothing to do elsewhere.
void SyncPlayerFiles();

}  // namespace vorlith
