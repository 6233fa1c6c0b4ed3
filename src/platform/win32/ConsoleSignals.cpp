#include <windows.h>

#include <atomic>

#include "platform/QuitSignals.h"

namespace vorlith {
namespace {

std::atomic<bool> arrived{false};

constexpr DWORD kCloseGraceMs = 4000;

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the system shutting
// down ask the game to quit. The system ends the process once the handler returns from the
// last three: the handler waits there, so the game's own end (the outputs written whole)
// comes first.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  arrived = true;
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    Sleep(kCloseGraceMs);
  }
  return TRUE;
}

}  // namespace

void QuitSignals::Install() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool QuitSignals::Arrived() {
  return arrived;
}

}  // namespace vorlith
