#include "replay/PlayerRecords.h"

#include <ctime>
#include <random>

#include "base/Utf8.h"
#include "platform/Dialogs.h"
#include "platform/FileLock.h"
#include "platform/PlayerFiles.h"
#include "platform/RegularFile.h"
#include "replay/ReplayPadSource.h"
#include "replay/ReplayStream.h"
#include "replay/ScoreTable.h"

namespace vorlith {
namespace {

constexpr const char* kTableName = "scores.txt";
constexpr const char* kLastReplayName = "last.replay";

}  // namespace

PlayerRecords::PlayerRecords(std::string folder, Dialogs& dialogs, std::string version,
                             DateClock clock)
    : folder(std::move(folder)),
      dialogs(dialogs),
      version(std::move(version)),
      clock(std::move(clock)) {
  if (!this->folder.empty()) ReadTable(table);
}

PlayerRecords::~PlayerRecords() = default;

std::string PlayerRecords::LocalDate() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
  }
  return text;
}

void PlayerRecords::Report(const std::string& message) {
  dialogs.ShowMessage("Vorlith", message);
}

// Missing: an empty table. Unreadable or damaged: renamed aside, one message, empty.
bool PlayerRecords::ReadTable(std::vector<ScoreEntry>& entries) {
  entries.clear();
  const std::string path = PathOf(kTableName);
  std::string text, why;
  const RegularFile::Result result = RegularFile::Read(path, ScoreTable::kMaxFileBytes, text, why);
  if (result == RegularFile::Result::Missing) return true;
  if (result == RegularFile::Result::Read && ScoreTable::Parse(text, entries, why)) return true;
  entries.clear();
  std::string asideWhy;
  const std::string aside = KeepFileAside(path, asideWhy);
  Report(EscapeForMessage(path) + ": not a high score table (" + why + "). " +
         (aside.empty() ? "It stays as it is (" + asideWhy + ")"
                        : "It was kept as " + EscapeForMessage(aside)) +
         "; the table starts empty.");
  return false;
}

void PlayerRecords::BeginRun(std::int32_t count, std::int32_t timer) {
  runs.clear();
  comboCount = count;
  comboTimer = timer;
}

void PlayerRecords::RecordFrame(const PadState& pad) {
  const ReplayControls controls = ControlsFromPad(pad);
  if (runs.empty() || runs.back().first != controls) runs.emplace_back(controls, 0);
  runs.back().second += 1;
}

std::string PlayerRecords::ReplayText(const RunResult& run, const std::string& date) const {
  std::string text = std::string(replay_format::kHeader) + "\n";
  text += "version " + version + " " + std::to_string(replay_format::kRules) + "\n";
  if (comboCount != 0) {
    text += "combo " + std::to_string(comboCount) + " " + std::to_string(comboTimer) + "\n";
  }
  text += "# score " + std::to_string(run.score) + ", stage " + std::to_string(run.stage) + ", " +
          std::to_string(run.frames) + " frames, " + date + "\n";
  for (const auto& [controls, frames] : runs) {
    text += std::to_string(frames) + " " + ControlsToText(controls) + "\n";
  }
  return text;
}

std::string PlayerRecords::NewReplayName(const std::string& date) const {
  std::string stamp;
  for (char c : date) {
    if (c >= '0' && c <= '9') stamp += c;
  }
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%06x", std::random_device()() & 0xFFFFFFu);
  return "run-" + stamp + "-" + suffix + ".replay";
}

// The run's replay as last.replay, and the run in the table. Files that cannot be written
// (a full disk) give one message, after the table's lock is let go: the table's, else the
// last replay's.
int PlayerRecords::EndRun(const RunResult& run) {
  const std::string date = clock();
  const ScoreEntry entry{run, date, NewReplayName(date)};
  if (folder.empty()) {
    std::vector<ScoreEntry> dropped;
    return ScoreTable::Insert(table, entry, dropped);
  }
  const std::string replay = ReplayText(run, date);
  std::string problem, why;
  if (!WriteFileWhole(PathOf(kLastReplayName), replay, why)) {
    problem = EscapeForMessage(why) + ". The file was left as it was.";
  }
  const int place = KeepEntry(entry, replay, problem);
  if (!problem.empty()) Report(problem);
  return place;
}

// The table as the file holds it now (another game may have added to it), with the entry;
// written with the entry's replay unless the entry has no place in it. On failure the table
// stays as it was on disk and `problem` says so; the entry is still shown this session.
int PlayerRecords::KeepEntry(const ScoreEntry& entry, const std::string& replay,
                             std::string& problem) {
  FileLock lock(PathOf("scores.lock"));
  ReadTable(table);
  std::vector<ScoreEntry> dropped;
  const int place = ScoreTable::Insert(table, entry, dropped);
  if (place == 0) return 0;
  std::string why;
  if (!WriteFileWhole(PathOf(entry.replay), replay, why) ||
      !WriteFileWhole(PathOf(kTableName), ScoreTable::Format(table), why)) {
    problem = EscapeForMessage(why) + ". The high scores stay as they were.";
    RemovePlayerFile(PathOf(entry.replay), why);
    return place;
  }
  for (const ScoreEntry& gone : dropped) RemovePlayerFile(PathOf(gone.replay), why);
  return place;
}

EntryReplay PlayerRecords::WatchEntry(std::size_t index, std::string& why) {
  EntryReplay replay;
  if (index >= table.size() || folder.empty()) {
    why = "There is no replay of this run.";
    return replay;
  }
  watched = std::make_unique<ReplayStream>();
  const std::string path = PathOf(table[index].replay);
  if (!watched->Open(path, why)) {
    std::string asideWhy;
    const bool otherRules = !watched->GetOrigin().version.empty();
    const std::string aside = otherRules ? "" : KeepFileAside(path, asideWhy);
    if (!aside.empty()) why += ". It was kept as " + EscapeForMessage(aside) + ".";
    return replay;
  }
  replay.frames = watched->GetFrameCount();
  replay.comboCount = watched->GetOrigin().comboCount;
  replay.comboTimer = watched->GetOrigin().comboTimer;
  replay.pads = std::make_unique<ReplayPadSource>(watched.get());
  return replay;
}

}  // namespace vorlith
