#include "input/ReplayScript.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <streambuf>

#include "input/PadState.h"
#include "platform/Utf8.h"

namespace vorlith {
namespace {

constexpr char kLetters[] = "UDLRZXCV";

std::string StripComment(const std::string& line) {
  std::string text = line.substr(0, line.find('#'));
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

bool ParseControls(const std::string& word, ReplayControls& controls, std::string& problem) {
  controls = 0;
  if (word == "-") return true;
  for (char c : word) {
    const char* at = std::find(kLetters, kLetters + 8, c);
    if (at == kLetters + 8) {
      problem = "unknown control '" + EscapeForMessage(std::string(1, c)) +
                "' (expected letters of UDLRZXCV or -)";
      return false;
    }
    controls |= static_cast<ReplayControls>(1u << (at - kLetters));
  }
  return true;
}

bool ParseCount(const std::string& word, std::int64_t& count, std::string& problem) {
  const bool digits =
      !word.empty() && word.size() <= 10 &&
      std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
  count = digits ? std::stoll(word) : 0;
  if (count < 1 || count > ReplayScript::kMaxFrames) {
    problem = "frame count '" + EscapeForMessage(word) + "' is not a whole number from 1 to " +
              std::to_string(ReplayScript::kMaxFrames);
    return false;
  }
  return true;
}

// Reads one line into `line` without its '\n'; false at the end of the input. A line longer
// than the limit stops the read there, with `tooLong` set, so no input is held whole.
bool ReadBoundedLine(std::istream& in, std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return !line.empty();
    }
    if (c == '\n') return true;
    if (line.size() == ReplayScript::kMaxLineBytes) {
      tooLong = true;
      return true;
    }
    line += static_cast<char>(c);
  }
}

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

}  // namespace

ReplayControls ControlsFromPad(const PadState& pad) {
  const bool held[8] = {pad.up != 0,         pad.down != 0,       pad.left != 0,
                        pad.right != 0,      pad.buttons[0] != 0, pad.buttons[1] != 0,
                        pad.buttons[2] != 0, pad.buttons[3] != 0};
  ReplayControls controls = 0;
  for (int i = 0; i < 8; ++i) {
    if (held[i]) controls |= static_cast<ReplayControls>(1u << i);
  }
  return controls;
}

std::string ControlsToText(ReplayControls controls) {
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (controls & (1u << i)) text += kLetters[i];
  }
  return text.empty() ? "-" : text;
}

bool ReplayScript::ParseLine(const std::string& line, std::string& problem) {
  std::istringstream words(line);
  std::string countWord, controlsWord, extra;
  words >> countWord >> controlsWord;
  if (controlsWord.empty()) {
    problem = "expected 'COUNT CONTROLS'";
    return false;
  }
  if (words >> extra) {
    problem = "unexpected '" + EscapeForMessage(extra) + "' after the controls";
    return false;
  }
  std::int64_t count = 0;
  ReplayControls controls = 0;
  if (!ParseCount(countWord, count, problem) || !ParseControls(controlsWord, controls, problem)) {
    return false;
  }
  if (frameCount + count > kMaxFrames) {
    problem = "the replay is longer than " + std::to_string(kMaxFrames) + " frames";
    return false;
  }
  if (!runs.empty() && runs.back().controls == controls) {
    runs.back().count += count;
  } else {
    runs.push_back({frameCount, count, controls});
  }
  frameCount += count;
  return true;
}

bool ReplayScript::Parse(std::istream& in, std::string& error) {
  runs.clear();
  frameCount = 0;
  std::string line;
  std::int64_t lineNumber = 0;
  bool sawHeader = false;
  bool tooLong = false;
  while (ReadBoundedLine(in, line, tooLong)) {
    ++lineNumber;
    if (tooLong) {
      error = "line " + std::to_string(lineNumber) + ": longer than " +
              std::to_string(kMaxLineBytes) + " bytes";
      return false;
    }
    if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    const std::string text = StripComment(line);
    std::string problem;
    if (!sawHeader) {
      if (text != kHeader) {
        error =
            "line " + std::to_string(lineNumber) + ": expected the first line '" + kHeader + "'";
        return false;
      }
      sawHeader = true;
      continue;
    }
    if (text.empty()) continue;
    if (!ParseLine(text, problem)) {
      error = "line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
  }
  if (!sawHeader) {
    error = "line 1: expected the first line '" + std::string(kHeader) + "'";
    return false;
  }
  return true;
}

bool ReplayScript::Load(const std::string& path, std::string& error) {
  const std::string name = EscapeForMessage(path);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = name + ": is a directory, not a replay";
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = name + ": cannot open: " + std::strerror(errno);
    return false;
  }
  FdReadBuffer buffer(fd);
  std::istream file(&buffer);
  std::string problem;
  const bool parsed = Parse(file, problem);
  close(fd);
  if (buffer.GetError() != 0) {
    error = name + ": cannot read: " + std::strerror(buffer.GetError());
    return false;
  }
  if (!parsed) {
    error = name + ":" + problem.substr(5);  // "line N: ..." becomes "FILE:N: ..."
    return false;
  }
  return true;
}

ReplayControls ReplayScript::GetControls(std::int64_t frame) const {
  if (frame < 0 || frame >= frameCount) return 0;
  auto run = std::upper_bound(runs.begin(), runs.end(), frame,
                              [](std::int64_t f, const Run& r) { return f < r.firstFrame; });
  return std::prev(run)->controls;
}

}  // namespace vorlith
