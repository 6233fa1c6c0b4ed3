#pragma once

namespace vorlith {

// The signals that end the program the way a player does: SIGTERM, SIGINT and SIGHUP each
// ask it to quit, and the main loop then ends as after Esc (the outputs written whole, the
// exit status of a normal end). SIGPIPE is ignored, so that a write into a pipe nobody reads
// any more fails with its error like any other write.
class QuitSignals {
 public:
  // Installs the handlers. A signal that already has a handler keeps it (SDL's, which turns
  // SIGTERM and SIGINT into a window's quit event), and SIGHUP is then passed on as SIGTERM;
  // a signal ignored from the start (nohup) stays ignored.
  static void Install();
  // True once one of them arrived through the handlers installed here.
  static bool Arrived();
};

}  // namespace vorlith
