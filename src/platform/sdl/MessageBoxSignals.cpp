#include "platform/sdl/MessageBoxSignals.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace vorlith {
namespace {

constexpr int kMaxChildren = 16;

// Shared with the signal handlers and the fork handler: plain values only.
volatile std::sig_atomic_t pending = 0;
volatile std::sig_atomic_t active = 0;
int pidPipe[2] = {-1, -1};  // children forked in the scope send their pid here
pid_t boxParent = 0;
pid_t children[kMaxChildren];
int childCount = 0;

struct sigaction previousTerm, previousInt, previousHangUp, previousAlarm;

// Async-signal-safe: reads the pids sent so far and kills every child known.
void KillChildren() {
  pid_t pid = 0;
  while (childCount < kMaxChildren && read(pidPipe[0], &pid, sizeof pid) == sizeof pid) {
    children[childCount++] = pid;
  }
  for (int i = 0; i < childCount; ++i) kill(children[i], SIGKILL);
}

void OnTerminate(int) {
  const int savedErrno = errno;
  pending = 1;
  KillChildren();
  alarm(1);  // a child forked a moment after the signal is caught on the next round
  errno = savedErrno;
}

void OnAlarm(int) {
  const int savedErrno = errno;
  if (pending && active) {
    KillChildren();
    alarm(1);
  }
  errno = savedErrno;
}

// Runs in every child forked while a box is shown.
void AfterForkInChild() {
  if (!active) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (pending || getppid() != boxParent) _exit(1);  // the parent is ending or gone already
  signal(SIGTERM, SIG_DFL);
  signal(SIGINT, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  signal(SIGALRM, SIG_DFL);
  const pid_t self = getpid();
  [[maybe_unused]] const ssize_t sent = write(pidPipe[1], &self, sizeof self);
  close(pidPipe[0]);
  close(pidPipe[1]);
  active = 0;
}

void Install(int signalNumber, void (*handler)(int), struct sigaction& previous) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a wait of our own returns with EINTR
  sigaction(signalNumber, &action, &previous);
}

}  // namespace

MessageBoxSignalScope::MessageBoxSignalScope() {
  static const bool registered = pthread_atfork(nullptr, nullptr, AfterForkInChild) == 0;
  (void)registered;
  if (pipe2(pidPipe, O_CLOEXEC | O_NONBLOCK) != 0) pidPipe[0] = pidPipe[1] = -1;
  boxParent = getpid();
  childCount = 0;
  Install(SIGTERM, OnTerminate, previousTerm);
  Install(SIGINT, OnTerminate, previousInt);
  Install(SIGHUP, OnTerminate, previousHangUp);
  Install(SIGALRM, OnAlarm, previousAlarm);
  active = 1;
}

MessageBoxSignalScope::~MessageBoxSignalScope() {
  active = 0;
  alarm(0);
  sigaction(SIGALRM, &previousAlarm, nullptr);
  sigaction(SIGHUP, &previousHangUp, nullptr);
  sigaction(SIGINT, &previousInt, nullptr);
  sigaction(SIGTERM, &previousTerm, nullptr);
  for (int fd : pidPipe) {
    if (fd >= 0) close(fd);
  }
  pidPipe[0] = pidPipe[1] = -1;
}

bool MessageBoxSignalScope::Pending() {
  return pending != 0;
}

}  // namespace vorlith
