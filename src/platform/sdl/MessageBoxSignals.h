#pragma once

namespace vorlith {

// A blocking message box waits in a loop of its own (SDL shows it from a forked child and
// waits for that child), where the usual SIGTERM, SIGINT and SIGHUP handling never runs.
// While a scope of this class lives, any of them ends the box at once: the box's child is killed
// and the wait returns, and Pending() tells the caller to end the program the way it would
// after the box. Children forked inside the scope also die with this process
// (PR_SET_PDEATHSIG), so no box outlives the program, even one killed with SIGKILL.
class MessageBoxSignalScope {
 public:
  MessageBoxSignalScope();
  ~MessageBoxSignalScope();
  MessageBoxSignalScope(const MessageBoxSignalScope&) = delete;
  MessageBoxSignalScope& operator=(const MessageBoxSignalScope&) = delete;

  // True once SIGTERM, SIGINT or SIGHUP arrived while a box was shown (for the rest of the
  // run).
  static bool Pending();
};

}  // namespace vorlith
