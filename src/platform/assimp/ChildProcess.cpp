#include "platform/assimp/ChildProcess.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace vorlith {
namespace {

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

void ReadAll(int fd, std::string& bytes) {
  char buffer[65536];
  while (true) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

bool RunInChildProcess(const std::function<std::string()>& work, std::string& result) {
  result.clear();
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return false;
  }
  if (child == 0) {
    // The child never outlives the program, even one killed with SIGKILL.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    close(pipeFds[0]);
    const bool sent = WriteAll(pipeFds[1], work());
    // _exit: the child leaves without running the parent's exit handlers or destructors.
    _exit(sent ? 0 : 1);
  }
  close(pipeFds[1]);
  ReadAll(pipeFds[0], result);
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vorlith
