#include "replay/ReplayParser.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "base/Utf8.h"

namespace vorlith {
namespace {

using replay_format::kControlLetters;
using replay_format::kHeader;
using replay_format::kMaxFrames;
using replay_format::kMaxLineBytes;

bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The words of a line up to its '#': at most three, which is enough to tell a good line.
int SplitWords(std::string_view line, std::string_view (&words)[3]) {
  const std::size_t end = std::min(line.find('#'), line.size());
  int count = 0;
  std::size_t at = 0;
  while (at < end && count < 3) {
    while (at < end && IsSpace(line[at])) ++at;
    const std::size_t start = at;
    while (at < end && !IsSpace(line[at])) ++at;
    if (at > start) words[count++] = line.substr(start, at - start);
  }
  return count;
}

// The text of a line before its '#', without the spaces around it.
std::string Trimmed(const std::string& line) {
  std::size_t end = std::min(line.find('#'), line.size());
  std::size_t start = 0;
  while (start < end && IsSpace(line[start])) ++start;
  while (end > start && IsSpace(line[end - 1])) --end;
  return line.substr(start, end - start);
}

bool ParseControls(std::string_view word, ReplayControls& controls, std::string& problem) {
  controls = 0;
  if (word == "-") return true;
  for (char c : word) {
    const int bit = ControlBitOfLetter(c);
    if (bit < 0) {
      problem = "unknown control '" + EscapeForMessage(std::string(1, c)) +
                "' (expected letters of " + kControlLetters + " or -)";
      return false;
    }
    controls |= static_cast<ReplayControls>(1u << bit);
  }
  return true;
}

bool ParseCount(std::string_view word, std::int64_t& count, std::string& problem) {
  const bool digits =
      !word.empty() && word.size() <= 10 &&
      std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
  count = 0;
  if (digits) {
    for (char c : word) count = count * 10 + (c - '0');
  }
  if (count < 1 || count > kMaxFrames) {
    problem = "frame count '" + EscapeForMessage(std::string(word)) +
              "' is not a whole number from 1 to " + std::to_string(kMaxFrames);
    return false;
  }
  return true;
}

bool ParseNumber(std::string_view word, std::int64_t max, std::int64_t& number) {
  number = 0;
  if (word.empty() || word.size() > 10) return false;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return number <= max;
}

}  // namespace

// Reads one line into `line` without its '\n'; false at the end of the input. A line longer
// than the limit stops the read there, with `tooLong` set.
bool ReplayParser::ReadLine() {
  line.clear();
  tooLong = false;
  for (;;) {
    const int c = next();
    if (c < 0) return !line.empty();
    if (c == '\n') return true;
    if (line.size() == kMaxLineBytes) {
      tooLong = true;
      return true;
    }
    line += static_cast<char>(c);
  }
}

std::string ReplayParser::LineError(const std::string& problem) const {
  return "line " + std::to_string(lineNumber) + ": " + problem;
}

bool ReplayParser::ParseLine(const std::string_view (&words)[3], int count, ReplayRun& run,
                             std::string& problem) const {
  if (count < 2) {
    problem = "expected 'COUNT CONTROLS'";
    return false;
  }
  if (count > 2) {
    problem = "unexpected '" + EscapeForMessage(std::string(words[2])) + "' after the controls";
    return false;
  }
  if (!ParseCount(words[0], run.count, problem) ||
      !ParseControls(words[1], run.controls, problem)) {
    return false;
  }
  if (frameCount + run.count > kMaxFrames) {
    problem = "the replay is longer than " + std::to_string(kMaxFrames) + " frames";
    return false;
  }
  return true;
}

// "version GAME RULES" or "combo COUNT TIMER", each once, before the first run.
bool ReplayParser::ParseOrigin(const std::string_view (&words)[3], int count,
                               std::string& problem) {
  const std::string what(words[0]);
  std::int64_t first = 0, second = 0;
  const bool version = what == "version";
  const bool seen = version ? !origin.version.empty() : origin.comboCount != 0;
  const bool valid = count == 3 && !seen && !sawRun && ParseNumber(words[2], INT32_MAX, second) &&
                     (version ? words[1].size() <= 32 : ParseNumber(words[1], INT32_MAX, first));
  if (!valid) {
    problem = version ? "expected 'version GAME RULES' once, before the first frames"
                      : "expected 'combo COUNT TIMER' once, before the first frames";
    return false;
  }
  if (version) {
    origin.version = EscapeForMessage(std::string(words[1]));
    origin.rules = second;
  } else {
    origin.comboCount = static_cast<std::int32_t>(first);
    origin.comboTimer = static_cast<std::int32_t>(second);
  }
  return true;
}

bool ReplayParser::Next(ReplayRun& run, std::string& error) {
  error.clear();
  while (ReadLine()) {
    ++lineNumber;
    if (tooLong) {
      error = LineError("longer than " + std::to_string(kMaxLineBytes) + " bytes");
      return false;
    }
    if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!sawHeader) {
      if (Trimmed(line) != kHeader) {
        error = LineError(std::string("expected the first line '") + kHeader + "'");
        return false;
      }
      sawHeader = true;
      continue;
    }
    std::string_view words[3];
    const int count = SplitWords(line, words);
    if (count == 0) continue;
    std::string problem;
    if (words[0] == "version" || words[0] == "combo") {
      if (ParseOrigin(words, count, problem)) continue;
      error = LineError(problem);
      return false;
    }
    sawRun = true;
    if (!ParseLine(words, count, run, problem)) {
      error = LineError(problem);
      return false;
    }
    frameCount += run.count;
    return true;
  }
  if (!sawHeader) {
    error = "line 1: expected the first line '" + std::string(kHeader) + "'";
  }
  return false;
}

}  // namespace vorlith
