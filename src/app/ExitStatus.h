#pragma once

namespace vorlith {

// The program's exit statuses besides the game's own.
constexpr int kExitNoData = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;  // a trace, recording or screenshot was not written whole

// The status once the game has run: a usage error when the replay changed under the run,
// kExitOutputFailed when an output was not written whole though the game ended well, else the
// game's own status.
int ExitStatusAfterRun(int gameStatus, bool outputsWritten, bool replayFailed);

}  // namespace vorlith
