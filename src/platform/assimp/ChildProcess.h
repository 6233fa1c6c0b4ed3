#pragma once

#include <functional>
#include <string>

namespace vorlith {

// Runs work in a forked child process and hands back the bytes it returned. For calls into
// libraries that may crash on hostile input: a crash ends only the child. False when the
// child could not be started or did not finish normally.
bool RunInChildProcess(const std::function<std::string()>& work, std::string& result);

}  // namespace vorlith
