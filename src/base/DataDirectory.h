#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorlith {

// Where the game's own files ("./model/...", "./sound/...", "game.ico") are read from, so
// that the program finds them whatever directory it was started in. Paths the player types
// on the command line are not touched: they stay relative to the starting directory.
class DataDirectory {
 public:
  // What the program knows at start-up about where its data may be.
  struct Places {
    std::string fromEnvironment;    // VORLITH_DATA_DIR; empty when unset
    std::string programDirectory;   // directory of the running executable; may be empty
    std::string installedRelative;  // the installed data directory relative to the binary's
    std::string sourceData;         // data/ of the source tree the program was built from
  };
  using HoldsData = std::function<bool(const std::string& directory)>;

  // The directories to try, in order. A directory named in the environment is the only one
  // tried: a wrong setting is reported, not silently passed over.
  static std::vector<std::string> Candidates(const Places& places);
  // The first candidate that holds the data, or empty when none does.
  static std::string Find(const std::vector<std::string>& candidates, const HoldsData& holdsData);
  // True when the directory holds the player ship's model (every stage needs it).
  static bool HoldsGameData(const std::string& directory);
  // The one line a player sees when nothing was found.
  static std::string NotFoundMessage(const std::vector<std::string>& candidates);

  // Process-wide: relative names resolve against the directory set here. Empty (the start
  // value) leaves them relative to the current directory.
  static void Set(const std::string& directory);
  static const std::string& Get();
  static std::string Resolve(const std::string& name);
  // A texture name found in the model file at modelPath ('\' already turned into '/'),
  // taken relative to the model's folder. False with the reason when it is absolute, names
  // no file or, once links are followed, leads outside the data directory (the current
  // directory while none is set); else path is the file's real path.
  static bool ResolveTexture(const std::string& modelPath, const std::string& name,
                             std::string& path, std::string& why);
};

}  // namespace vorlith
