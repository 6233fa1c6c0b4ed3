#include "app/ExitStatus.h"

namespace vorlith {

int ExitStatusAfterRun(int gameStatus, bool outputsWritten, bool replayFailed) {
  if (replayFailed) return kExitUsage;
  if (!outputsWritten && gameStatus == 0) return kExitOutputFailed;
  return gameStatus;
}

}  // namespace vorlith
