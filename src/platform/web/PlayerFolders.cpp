#include <emscripten.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/PlayerFiles.h"

namespace vorlith {
namespace {

// PlayerStorage.js mounts IDBFS at /player and loads it before the program starts; it
// leaves vorlithPlayerStorage false when the browser keeps nothing for the page.
EM_JS(int, PlayerStorageLoaded, (), { return Module['vorlithPlayerStorage'] ? 1 : 0; });
EM_JS(void, SaveToPlayerStorage, (), { Module['vorlithSavePlayerStorage'](); });

}  // namespace

std::string PlayerFolderPath(PlayerFolder which, std::string& why) {
  if (!PlayerStorageLoaded()) {
    why = "the browser keeps no storage for this page";
    return "";
  }
  const std::string folder = which == PlayerFolder::Data ? "/player/data" : "/player/config";
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    why = folder + ": cannot create the folder: " + std::strerror(errno);
    return "";
  }
  return folder;
}

void SyncPlayerFiles() {
  if (PlayerStorageLoaded()) SaveToPlayerStorage();
}

}  // namespace vorlith
