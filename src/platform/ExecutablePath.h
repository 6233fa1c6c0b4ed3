#pragma once

#include <string>

namespace vorlith {

// The directory the running program's file lies in (links resolved), without a trailing
// slash; empty when the system cannot tell.
std::string ExecutableDirectory();

}  // namespace vorlith
