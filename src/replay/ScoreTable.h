#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/RunKeeper.h"

namespace vorlith {

// The high score table's file, best first:
//
//   vorlith-scores 1
//   110100 1 5432 2026-12-07 05:42 run-202612070542-3f9a1c.replay
//
// one line per run: score, stage reached, frames played, date and time, and the name of its
// replay beside the table (letters, digits, '.', '-' and '_' only, so it never leaves the
// folder). At most RunKeeper::kTableSize lines.
class ScoreTable {
 public:
  static constexpr const char* kHeader = "vorlith-scores 1";
  static constexpr std::size_t kMaxFileBytes = 4096;

  // False with `problem` ("line 3: ...") when the text is not such a table.
  static bool Parse(const std::string& text, std::vector<ScoreEntry>& entries,
                    std::string& problem);
  static std::string Format(const std::vector<ScoreEntry>& entries);
  // Puts the entry after those of an equal or higher score and returns its place (1 to
  // kTableSize), or 0 when it does not enter; the entries it pushes out go to `dropped`.
  static int Insert(std::vector<ScoreEntry>& entries, const ScoreEntry& entry,
                    std::vector<ScoreEntry>& dropped);
  // A replay's file name as the table may hold it.
  static bool IsReplayName(const std::string& name);
};

}  // namespace vorlith
