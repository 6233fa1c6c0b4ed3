#include <signal.h>

#include <csignal>

#include "platform/QuitSignals.h"

namespace vorlith {
namespace {

volatile std::sig_atomic_t arrived = 0;
volatile std::sig_atomic_t hangUpAsTerminate = 0;

void OnQuit(int) {
  arrived = 1;
}

void OnHangUp(int) {
  arrived = 1;
  if (hangUpAsTerminate) raise(SIGTERM);
}

// Installs handler unless the signal has a handler or is ignored; true when it did.
bool InstallUnlessHandled(int number, void (*handler)(int)) {
  struct sigaction previous {};
  if (sigaction(number, nullptr, &previous) != 0) return false;
  if ((previous.sa_flags & SA_SIGINFO) != 0 || previous.sa_handler != SIG_DFL) return false;
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return sigaction(number, &action, nullptr) == 0;
}

}  // namespace

void QuitSignals::Install() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
  const bool terminateIsOurs = InstallUnlessHandled(SIGTERM, OnQuit);
  InstallUnlessHandled(SIGINT, OnQuit);
  struct sigaction terminate {};
  sigaction(SIGTERM, nullptr, &terminate);
  hangUpAsTerminate =
      !terminateIsOurs && terminate.sa_handler != SIG_IGN && terminate.sa_handler != SIG_DFL;
  InstallUnlessHandled(SIGHUP, OnHangUp);
}

bool QuitSignals::Arrived() {
  return arrived != 0;
}

}  // namespace vorlith
