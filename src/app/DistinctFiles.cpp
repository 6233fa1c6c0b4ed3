#include "app/DistinctFiles.h"

#include "base/Utf8.h"
#include "platform/FileIdentity.h"

namespace vorlith {

bool CheckFilesDistinct(const std::vector<std::pair<std::string, std::string>>& roles,
                        std::string& error) {
  std::vector<FileIdentity> files;
  for (const auto& role : roles) files.emplace_back(role.second);
  for (std::size_t i = 0; i < roles.size(); ++i) {
    if (files[i].IsSharable()) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (!(files[i] == files[j])) continue;
      error = roles[i].first + " " + EscapeForMessage(roles[i].second) +
              " names the same file as " + roles[j].first + " " + EscapeForMessage(roles[j].second);
      return false;
    }
  }
  return true;
}

}  // namespace vorlith
