#include "replay/ReplayStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <istream>
#include <streambuf>

#include "platform/Utf8.h"
#include "replay/ReplayParser.h"

namespace vorlith {
namespace {

// Reads a file descriptor in pieces and keeps the reason of a failed read.
class FdReadBuffer : public std::streambuf {
 public:
  explicit FdReadBuffer(int fd) : fd(fd) {}
  int GetError() const { return error; }

 protected:
  int_type underflow() override {
    ssize_t got;
    do {
      got = read(fd, piece, sizeof piece);
    } while (got < 0 && errno == EINTR);
    if (got < 0) error = errno;
    if (got <= 0) return traits_type::eof();
    setg(piece, piece, piece + got);
    return traits_type::to_int_type(piece[0]);
  }

 private:
  int fd;
  int error = 0;
  char piece[65536];
};

// "line N: problem" becomes "FILE:N: problem"; a failed read is named as such.
std::string FileError(const std::string& name, const std::string& readError,
                      const std::string& lineError) {
  if (!readError.empty()) return name + ": " + readError;
  return name + ":" + lineError.substr(5);
}

}  // namespace

// One read through the file from its start.
struct ReplayStream::Pass {
  explicit Pass(int fd) : buffer(fd), in(&buffer), parser(in) {}
  // The reason of a failed read, or "".
  std::string ReadError() const {
    return buffer.GetError() ? std::string("cannot read: ") + std::strerror(buffer.GetError()) : "";
  }

  FdReadBuffer buffer;
  std::istream in;
  ReplayParser parser;
};

ReplayStream::ReplayStream() = default;

ReplayStream::~ReplayStream() {
  if (fd >= 0) close(fd);
}

bool ReplayStream::Open(const std::string& path, std::string& problem) {
  name = EscapeForMessage(path);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    problem = name + ": is a directory, not a replay";
    return false;
  }
  fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || fstat(fd, &info) != 0) {
    problem = name + ": cannot open: " + std::strerror(errno);
    return false;
  }
  return S_ISREG(info.st_mode) ? Check(problem) : Hold(problem);
}

// A regular file: read through once to check it, then from its start again for playing.
bool ReplayStream::Check(std::string& problem) {
  Pass check(fd);
  ReplayRun run;
  std::string lineError;
  while (check.parser.Next(run, lineError)) {
  }
  if (!lineError.empty() || !check.ReadError().empty()) {
    problem = FileError(name, check.ReadError(), lineError);
    return false;
  }
  frameCount = check.parser.GetFrameCount();
  if (lseek(fd, 0, SEEK_SET) != 0) {
    problem = name + ": cannot read: " + std::strerror(errno);
    return false;
  }
  pass = std::make_unique<Pass>(fd);
  return true;
}

// An input that can be read only once is held whole, up to kMaxHeldRuns runs.
bool ReplayStream::Hold(std::string& problem) {
  Pass once(fd);
  std::string lineError;
  const bool parsed = held.Parse(once.in, lineError, kMaxHeldRuns);
  close(fd);
  fd = -1;
  if (!parsed || !once.ReadError().empty()) {
    problem = FileError(name, once.ReadError(), lineError);
    if (lineError.find(" changes of controls") != std::string::npos) {
      problem += " (a replay that is not a regular file is held whole; play it from a file)";
    }
    return false;
  }
  holding = true;
  frameCount = held.GetFrameCount();
  return true;
}

void ReplayStream::Stop(const std::string& problem) {
  error = problem;
  frameCount = framesRead;
  pass.reset();
}

ReplayControls ReplayStream::ReadFrame() {
  if (framesRead >= frameCount) return 0;
  if (holding) return held.GetControls(framesRead++);
  while (runLeft == 0) {
    ReplayRun run;
    std::string lineError;
    if (!pass->parser.Next(run, lineError)) {
      const std::string at = lineError.empty() ? ": ended early" : ":" + lineError.substr(5);
      Stop(pass->ReadError().empty() ? name + at + " (changed while playing)"
                                     : name + ": " + pass->ReadError());
      return 0;
    }
    runLeft = run.count;
    runControls = run.controls;
  }
  --runLeft;
  ++framesRead;
  return runControls;
}

}  // namespace vorlith
