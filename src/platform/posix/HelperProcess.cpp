#include "platform/HelperProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "platform/portable/HelperMessages.h"

namespace vorlith {
namespace {

constexpr int kExitGraceMs = 100;

bool SendAll(int fd, const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t sent = send(fd, bytes + done, size - done, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    done += static_cast<std::size_t>(sent);
  }
  return true;
}

WriteBytes SendTo(int fd) {
  return [fd](const char* bytes, std::size_t size) { return SendAll(fd, bytes, size); };
}

// Reads exactly size bytes, waiting at most until deadline (none when timeoutMs < 0).
class Receiver {
 public:
  Receiver(int fd, int timeoutMs) : fd(fd), timeoutMs(timeoutMs) {
    deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  }
  bool Read(char* to, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
      if (!Wait()) return false;
      const ssize_t got = read(fd, to + done, size - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }
  bool ReadMessage(std::string& bytes, std::size_t maxBytes) {
    return ReceiveFramed([this](char* to, std::size_t size) { return Read(to, size); }, bytes,
                         maxBytes);
  }

 private:
  bool Wait() {
    if (timeoutMs < 0) return true;
    while (true) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd entry{fd, POLLIN, 0};
      const int ready = poll(&entry, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) continue;
      return ready > 0;
    }
  }
  int fd;
  int timeoutMs;
  std::chrono::steady_clock::time_point deadline;
};

}  // namespace

HelperProcess::HelperProcess(Handler handler, std::size_t maxRequestBytes,
                             std::size_t maxReplyBytes, int timeoutMs, std::string warmUp)
    : handler(std::move(handler)),
      maxRequestBytes(maxRequestBytes),
      maxReplyBytes(maxReplyBytes),
      timeoutMs(timeoutMs),
      warmUp(std::move(warmUp)) {}

// Helpers are forked: no command line makes one.
bool HelperProcess::TakeHelperRole(int, const char* const*) {
  return false;
}

HelperProcess::~HelperProcess() {
  Stop(kExitGraceMs);
}

bool HelperProcess::Start() {
  if (child > 0) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0) return true;
    child = -1;  // it ended between two requests: reaped
    Stop();
  }
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    // A helper busy on a hostile file would not see its end of the socket close: it goes
    // with the program however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(0);  // the program ended before the line above
    Serve(fds[1]);
  }
  close(fds[1]);
  child = pid;
  socket = fds[0];
  ++starts;
  return true;
}

// The helper's loop: one request, one reply, until the parent closes its end. _exit: the
// helper leaves without running the parent's exit handlers or destructors.
void HelperProcess::Serve(int fd) const {
  if (!warmUp.empty()) handler(warmUp);
  Receiver receiver(fd, -1);
  std::string request;
  while (receiver.ReadMessage(request, maxRequestBytes)) {
    if (!SendFramed(SendTo(fd), handler(request))) _exit(1);
  }
  _exit(0);
}

bool HelperProcess::Call(const std::string& request, std::string& reply) {
  reply.clear();
  if (request.size() > maxRequestBytes || !Start()) return false;
  Receiver receiver(socket, timeoutMs);
  if (SendFramed(SendTo(socket), request) && receiver.ReadMessage(reply, maxReplyBytes))
    return true;
  reply.clear();
  Stop();  // crashed, stalled or talking nonsense: the next request gets a fresh helper
  return false;
}

void HelperProcess::Stop(int graceMs) {
  if (socket >= 0) close(socket);
  socket = -1;
  if (child <= 0) return;
  for (int waited = 0; waited < graceMs; ++waited) {
    if (waitpid(child, nullptr, WNOHANG) != 0) {
      child = -1;
      return;
    }
    usleep(1000);
  }
  kill(child, SIGKILL);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  child = -1;
}

}  // namespace vorlith
