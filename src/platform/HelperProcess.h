#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace vorlith {

// A long-lived helper process that answers requests with a handler run on its side, for
// calls into libraries that may crash, hang or run wild on hostile input: whatever happens
// there ends only the helper. It talks to its parent over a socket pair (two pipes on
// Windows), one request at a time; one that dies or stalls on a request is killed, and the
// next request starts a new one. Start it early, while the process is still small, so that
// the fork is cheap.
class HelperProcess {
 public:
  using Handler = std::function<std::string(const std::string& request)>;

  // Requests and replies larger than these are refused (the reply's buffer grows only with
  // the bytes that actually arrive). A new helper first answers warmUp for itself, so that
  // the first real request finds the handler's code and data ready.
  HelperProcess(Handler handler, std::size_t maxRequestBytes, std::size_t maxReplyBytes,
                int timeoutMs, std::string warmUp = std::string());
  ~HelperProcess();
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  // Starts the helper unless it runs; false when it cannot be started.
  bool Start();
  // The handler's reply to request, computed in the helper. False when the helper could not
  // be started, died, stalled past the time limit or answered with too much.
  bool Call(const std::string& request, std::string& reply);
  bool IsRunning() const { return child > 0; }
  // Where a helper is this program started again (Windows), its command line is the program's
  // name and a hidden option with the helper's place and pipes. True for such a command line,
  // whose helper then serves its parent, never returning, when the program constructs it.
  static bool TakeHelperRole(int argc, const char* const* argv);
  int GetPid() const { return child; }
  int GetStarts() const { return starts; }  // helpers started so far

 private:
  [[noreturn]] void Serve(int fd) const;
  // Ends the helper: at once, or first letting an idle one leave on its own (it does when its
  // end of the socket closes) for up to graceMs.
  void Stop(int graceMs = 0);

  Handler handler;
  std::size_t maxRequestBytes;
  std::size_t maxReplyBytes;
  int timeoutMs;
  std::string warmUp;
  int child = -1;
  int socket = -1;
  int starts = 0;
};

}  // namespace vorlith
