#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/PlayerFiles.h"

namespace vorlith {
namespace {

// The XDG base directory when it is set to an absolute path, else HOME's default.
std::string BaseFolder(const char* variable, const char* underHome, std::string& why) {
  const char* base = std::getenv(variable);
  if (base && base[0] == '/') return base;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + underHome;
  why = std::string("neither ") + variable + " nor HOME names a folder";
  return "";
}

bool MakeFolders(const std::string& path, std::string& why) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    struct stat info {};
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      why = part + ": cannot create the folder: " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) {
      if (stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
      why = part + ": not a folder";
      return false;
    }
  }
}

}  // namespace

std::string PlayerFolderPath(PlayerFolder which, std::string& why) {
  const bool data = which == PlayerFolder::Data;
  std::string base = data ? BaseFolder("XDG_DATA_HOME", "/.local/share", why)
                          : BaseFolder("XDG_CONFIG_HOME", "/.config", why);
  if (base.empty()) return "";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = base + "/vorlith";
  return MakeFolders(folder, why) ? folder : "";
}

void SyncPlayerFiles() {}

}  // namespace vorlith
