#include "replay/ReplayStream.h"

#include "base/Utf8.h"
#include "replay/ReplayParser.h"

namespace vorlith {
namespace {

// Reads a file in pieces, a byte at a time, and keeps the reason of a failed read.
class FileBytes {
 public:
  explicit FileBytes(InputFile& file) : file(file) {}
  const std::string& GetError() const { return error; }

  int Next() {
    if (at == end) {
      const long got = file.Read(piece, sizeof piece, error);
      if (got <= 0) return -1;
      at = 0;
      end = static_cast<std::size_t>(got);
    }
    return static_cast<unsigned char>(piece[at++]);
  }

 private:
  InputFile& file;
  std::string error;
  char piece[65536];
  std::size_t at = 0, end = 0;
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
  explicit Pass(InputFile& file) : bytes(file), parser([this] { return bytes.Next(); }) {}
  Pass(const Pass&) = delete;
  Pass& operator=(const Pass&) = delete;
  // The reason of a failed read, or "".
  std::string ReadError() const {
    return bytes.GetError().empty() ? "" : "cannot read: " + bytes.GetError();
  }

  FileBytes bytes;
  ReplayParser parser;
};

ReplayStream::ReplayStream() = default;

ReplayStream::~ReplayStream() = default;

bool ReplayStream::Open(const std::string& path, std::string& problem) {
  name = EscapeForMessage(path);
  if (InputFile::IsDirectory(path)) {
    problem = name + ": is a directory, not a replay";
    return false;
  }
  std::string reason;
  if (!file.Open(path, reason)) {
    problem = name + ": cannot open: " + reason;
    return false;
  }
  return (file.IsRegular() ? Check(problem) : Hold(problem)) && CheckRules(problem);
}

bool ReplayStream::CheckRules(std::string& problem) const {
  if (origin.version.empty() || origin.rules == replay_format::kRules) return true;
  problem = name + ": made by Vorlith " + origin.version + " (rules " +
            std::to_string(origin.rules) + "), which plays differently from this Vorlith " +
            VORLITH_VERSION + " (rules " + std::to_string(replay_format::kRules) + ")";
  return false;
}

// A regular file: read through once to check it, then from its start again for playing.
bool ReplayStream::Check(std::string& problem) {
  Pass check(file);
  ReplayRun run;
  std::string lineError;
  while (check.parser.Next(run, lineError)) {
  }
  if (!lineError.empty() || !check.ReadError().empty()) {
    problem = FileError(name, check.ReadError(), lineError);
    return false;
  }
  frameCount = check.parser.GetFrameCount();
  origin = check.parser.GetOrigin();
  std::string reason;
  if (!file.Rewind(reason)) {
    problem = name + ": cannot read: " + reason;
    return false;
  }
  pass = std::make_unique<Pass>(file);
  return true;
}

// An input that can be read only once is held whole, up to kMaxHeldRuns runs.
bool ReplayStream::Hold(std::string& problem) {
  Pass once(file);
  std::string lineError;
  const bool parsed = held.Parse([&once] { return once.bytes.Next(); }, lineError, kMaxHeldRuns);
  file.Close();
  if (!parsed || !once.ReadError().empty()) {
    problem = FileError(name, once.ReadError(), lineError);
    if (lineError.find(" changes of controls") != std::string::npos) {
      problem += " (a replay that is not a regular file is held whole; play it from a file)";
    }
    return false;
  }
  holding = true;
  frameCount = held.GetFrameCount();
  origin = held.GetOrigin();
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
