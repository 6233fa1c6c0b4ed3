#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vorlith {

// Each entry is (option, path). False with a usage error when two entries name one file,
// e.g. "--trace b names the same file as --replay a".
bool CheckFilesDistinct(const std::vector<std::pair<std::string, std::string>>& roles,
                        std::string& error);

}  // namespace vorlith
