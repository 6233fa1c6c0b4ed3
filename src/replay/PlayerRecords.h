#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/RunKeeper.h"
#include "replay/ReplayFormat.h"

namespace vorlith {

class Dialogs;
class ReplayStream;

// The player's high scores and replays in their data folder:
//   scores.txt        the table (ScoreTable), read, merged and written under scores.lock,
//                     so that games ending runs at the same time all keep theirs;
//   last.replay       the last run's replay;
//   run-*.replay      each table entry's replay (removed when it leaves the table).
// Every file is written whole or not at all. A table that cannot be read is renamed aside
// (scores.txt.bad, ...) with one message, and the table starts empty; a failed write leaves
// the old file with one message. Without a folder the table lasts as long as the program.
class PlayerRecords : public RunKeeper {
 public:
  // Local date and time as the table shows them: "2026-12-07 05:42".
  using DateClock = std::function<std::string()>;

  // `folder` empty: nothing is written. `version`: the game's, named in every replay.
  PlayerRecords(std::string folder, Dialogs& dialogs, std::string version,
                DateClock clock = LocalDate);
  ~PlayerRecords() override;

  void BeginRun(std::int32_t comboCount, std::int32_t comboTimer) override;
  void RecordFrame(const PadState& pad) override;
  int EndRun(const RunResult& run) override;
  const std::vector<ScoreEntry>& GetTable() const override { return table; }
  // A damaged replay is kept aside (`why` names both); one of other rules stays.
  EntryReplay WatchEntry(std::size_t index, std::string& why) override;

  // The replay of the run recorded so far, as a file holds it.
  std::string ReplayText(const RunResult& run, const std::string& date) const;
  static std::string LocalDate();

 private:
  std::string PathOf(const std::string& name) const { return folder + "/" + name; }
  bool ReadTable(std::vector<ScoreEntry>& entries);
  int KeepEntry(const ScoreEntry& entry, const std::string& replay, std::string& problem);
  void Report(const std::string& message);
  std::string NewReplayName(const std::string& date) const;

  std::string folder;
  Dialogs& dialogs;
  std::string version;
  DateClock clock;
  std::vector<ScoreEntry> table;
  std::vector<std::pair<ReplayControls, std::int64_t>> runs;  // controls, frames
  std::int32_t comboCount = 0, comboTimer = 0;
  std::unique_ptr<ReplayStream> watched;
};

}  // namespace vorlith
