#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "input/PadSource.h"

namespace vorlith {

// One run of the game, from the Z on the title to its end (V after "Game Over", or C on the
// last stage's "Stage Clear!!").
struct RunResult {
  std::uint32_t score = 0;
  std::int32_t stage = 1;   // the stage reached
  std::int64_t frames = 0;  // frames played, the starting one included
};

// One line of the high score table.
struct ScoreEntry {
  RunResult run;
  std::string date;    // local time the run ended, "2026-12-07 05:42"
  std::string replay;  // the file name of its replay, beside the table
};

// A replay of a table entry to watch: its controls from the run's first frame, how many
// frames it has, and the combo counter it starts with.
struct EntryReplay {
  std::unique_ptr<PadSource> pads;
  std::int64_t frames = 0;
  std::int32_t comboCount = 0;
  std::int32_t comboTimer = 0;
};

// What the game keeps of its runs: each run's controls as it is played, and at its end the
// run in the high score table with its replay. The game works without one (replays, headless
// runs and tests keep nothing).
class RunKeeper {
 public:
  virtual ~RunKeeper() = default;
  // A run starts with this frame, with the combo counter as it stands.
  virtual void BeginRun(std::int32_t comboCount, std::int32_t comboTimer) = 0;
  // The controls of every frame of the run, its first and last included.
  virtual void RecordFrame(const PadState& pad) = 0;
  // The run has ended: kept with its replay; returns its place in the table (1 to
  // kTableSize), or 0 when it did not enter it.
  virtual int EndRun(const RunResult& run) = 0;
  // The table, best first.
  virtual const std::vector<ScoreEntry>& GetTable() const = 0;
  // The replay of a table entry; null `pads` with `why` when it cannot be played.
  virtual EntryReplay WatchEntry(std::size_t index, std::string& why) = 0;

  static constexpr std::size_t kTableSize = 10;
};

}  // namespace vorlith
