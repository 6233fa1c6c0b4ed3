#include "base/DataDirectory.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Utf8.h"

namespace vorlith {
namespace {

std::string current;

std::string Join(const std::string& directory, const std::string& relative) {
  if (directory.empty() || relative.empty()) return {};
  return Utf8FromPath(PathFromUtf8(directory + "/" + relative).lexically_normal());
}

}  // namespace

std::vector<std::string> DataDirectory::Candidates(const Places& places) {
  if (!places.fromEnvironment.empty()) return {places.fromEnvironment};
  std::vector<std::string> found;
  for (const std::string& candidate :
       {Join(places.programDirectory, places.installedRelative), places.sourceData}) {
    if (candidate.empty()) continue;
    bool seen = false;
    for (const std::string& earlier : found) seen = seen || earlier == candidate;
    if (!seen) found.push_back(candidate);
  }
  return found;
}

std::string DataDirectory::Find(const std::vector<std::string>& candidates,
                                const HoldsData& holdsData) {
  for (const std::string& candidate : candidates) {
    if (holdsData(candidate)) return candidate;
  }
  return {};
}

bool DataDirectory::HoldsGameData(const std::string& directory) {
  std::error_code error;
  return std::filesystem::is_regular_file(PathFromUtf8(directory + "/model/myship.x"), error);
}

std::string DataDirectory::NotFoundMessage(const std::vector<std::string>& candidates) {
  std::string message = "cannot find the game data (model/myship.x) in ";
  if (candidates.empty()) return message + "any known place; set VORLITH_DATA_DIR";
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const char* separator = i == 0 ? "" : i + 1 == candidates.size() ? " or " : ", ";
    message += separator + EscapeForMessage(candidates[i]);
  }
  return message + "; set VORLITH_DATA_DIR to the directory that holds model/ and sound/";
}

void DataDirectory::Set(const std::string& directory) {
  current = directory;
}

const std::string& DataDirectory::Get() {
  return current;
}

std::string DataDirectory::Resolve(const std::string& name) {
  if (current.empty() || name.empty() || name.front() == '/') return name;
  std::string relative = name;
  while (relative.rfind("./", 0) == 0) relative.erase(0, 2);
  return current + (current.back() == '/' ? "" : "/") + relative;
}

bool DataDirectory::ResolveTexture(const std::string& modelPath, const std::string& name,
                                   std::string& path, std::string& why) {
  namespace fs = std::filesystem;
  if (name.front() == '/' || (name.size() > 1 && name[1] == ':')) {
    why = "an absolute name (a model names its textures relative to its folder)";
    return false;
  }
  std::error_code code;
  const fs::path root = fs::canonical(PathFromUtf8(current.empty() ? "." : current), code);
  if (code) {
    why = "the data directory cannot be found: " + code.message();
    return false;
  }
  const fs::path found =
      fs::canonical(PathFromUtf8(modelPath).parent_path() / PathFromUtf8(name), code);
  if (code) {
    why = code == std::errc::no_such_file_or_directory ? "no such file" : code.message();
    return false;
  }
  // Inside when the data directory's components begin the file's, links followed.
  if (std::mismatch(root.begin(), root.end(), found.begin(), found.end()).first != root.end()) {
    why = "outside the data directory";
    return false;
  }
  path = Utf8FromPath(found);
  return true;
}

}  // namespace vorlith
