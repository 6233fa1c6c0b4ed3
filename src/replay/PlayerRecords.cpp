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

void PlayerRecords::Write(const std::string& name, const std::string& text) {
  std::string why;
  if (!WriteFileWhole(PathOf(name), text, why)) {
    Report(EscapeForMessage(why) + ". The file was left as it was.");
  }
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

// The table as the file holds it now (another game may have added to it), with this run.
int PlayerRecords::EndRun(const RunResult& run) {
  const std::string date = clock();
  ScoreEntry entry{run, date, NewReplayName(date)};
  std::vector<ScoreEntry> dropped;
  if (folder.empty()) return ScoreTable::Insert(table, entry, dropped);
  const std::string replay = ReplayText(run, date);
  Write(kLastReplayName, replay);
  FileLock lock(PathOf("scores.lock"));
  std::vector<ScoreEntry> merged;
  ReadTable(merged);
  const int place = ScoreTable::Insert(merged, entry, dropped);
  if (place == 0) {
    table = merged;
    return 0;
  }
  std::string why;
  if (!WriteFileWhole(PathOf(entry.replay), replay, why) ||
      !WriteFileWhole(PathOf(kTableName), ScoreTable::Format(merged), why)) {
    Report(EscapeForMessage(why) + ". The high scores stay as they were.");
    RemovePlayerFile(PathOf(entry.replay), why);
    table = merged;  // shown for this session
    return place;
  }
  for (const ScoreEntry& gone : dropped) RemovePlayerFile(PathOf(gone.replay), why);
  table = merged;
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
