#include "replay/ScoreTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace vorlith {
namespace {

bool IsDigits(const std::string& word, std::size_t most) {
  if (word.empty() || word.size() > most) return false;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "2026-12-07 05:42": digits where the pattern has '9'.
bool IsDate(const std::string& text) {
  const std::string pattern = "9999-99-99 99:99";
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return false;
  }
  return true;
}

// The line's words, split at white space (no streams: the page links no locales).
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  const char* space = " \t\n\v\f\r";
  std::size_t start = line.find_first_not_of(space);
  while (start != std::string::npos) {
    const std::size_t end = line.find_first_of(space, start);
    words.push_back(line.substr(start, end - start));
    start = line.find_first_not_of(space, end);
  }
  return words;
}

bool ParseEntry(const std::string& line, ScoreEntry& entry) {
  const std::vector<std::string> words = Words(line);
  if (words.size() != 6) return false;
  const std::string& score = words[0];
  const std::string& stage = words[1];
  const std::string& frames = words[2];
  entry.date = words[3] + " " + words[4];
  entry.replay = words[5];
  if (!IsDigits(score, 10) || !IsDigits(stage, 3) || !IsDigits(frames, 10) || !IsDate(entry.date) ||
      !ScoreTable::IsReplayName(entry.replay)) {
    return false;
  }
  const unsigned long long value = std::stoull(score);
  entry.run.score = static_cast<std::uint32_t>(value);
  entry.run.stage = std::stoi(stage);
  entry.run.frames = std::stoll(frames);
  return value <= UINT32_MAX && entry.run.stage >= 1 && entry.run.frames >= 1;
}

}  // namespace

bool ScoreTable::IsReplayName(const std::string& name) {
  if (name.size() > 64 || name.size() <= 7 || name[0] == '.' ||
      name.compare(name.size() - 7, 7, ".replay") != 0) {
    return false;
  }
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

bool ScoreTable::Parse(const std::string& text, std::vector<ScoreEntry>& entries,
                       std::string& problem) {
  entries.clear();
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (number == 1 && line != kHeader) {
      problem = std::string("line 1: expected '") + kHeader + "'";
      return false;
    }
    ScoreEntry entry;
    if (number == 1) continue;
    if (entries.size() == RunKeeper::kTableSize || !ParseEntry(line, entry) ||
        (!entries.empty() && entry.run.score > entries.back().run.score)) {
      problem = "line " + std::to_string(number) + ": not an entry of the table";
      return false;
    }
    entries.push_back(entry);
  }
  if (number == 0 || text.back() != '\n') {
    problem = number == 0 ? "empty" : "cut short";
    return false;
  }
  return true;
}

std::string ScoreTable::Format(const std::vector<ScoreEntry>& entries) {
  std::string text = std::string(kHeader) + "\n";
  for (const ScoreEntry& entry : entries) {
    text += std::to_string(entry.run.score) + " " + std::to_string(entry.run.stage) + " " +
            std::to_string(entry.run.frames) + " " + entry.date + " " + entry.replay + "\n";
  }
  return text;
}

int ScoreTable::Insert(std::vector<ScoreEntry>& entries, const ScoreEntry& entry,
                       std::vector<ScoreEntry>& dropped) {
  std::size_t at = 0;
  while (at < entries.size() && entries[at].run.score >= entry.run.score) ++at;
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
  while (entries.size() > RunKeeper::kTableSize) {
    dropped.push_back(entries.back());
    entries.pop_back();
  }
  return at < RunKeeper::kTableSize ? static_cast<int>(at) + 1 : 0;
}

}  // namespace vorlith
