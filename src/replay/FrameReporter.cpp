#include "replay/FrameReporter.h"

#include <cstdio>

#include "app/GameApp.h"
#include "base/Utf8.h"
#include "movers/MoverBoss.h"
#include "movers/MoverMyShip.h"
#include "platform/AudioDevice.h"
#include "platform/OutputFile.h"
#include "platform/PngFile.h"
#include "platform/RenderDevice.h"
#include "replay/RecordingDialogs.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayPadSource.h"
#include "stage/CStage.h"
#include "stage/MoverManager.h"

namespace vorlith {
namespace {

template <typename Slot>
int CountOccupied(Slot* const* slots, int count) {
  int occupied = 0;
  for (int i = 0; i < count; ++i) occupied += slots[i] != nullptr;
  return occupied;
}

bool InBossSlot(const MoverManager& manager, const MoverBoss* boss) {
  MoverBoss* const* slots = manager.GetBossSlots();
  for (int i = 0; i < MoverManager::kBossSlots; ++i) {
    if (slots[i] == boss) return true;
  }
  return false;
}

TraceFrame::Ship DescribeShip(const MoverMyShip& ship) {
  const Vec3 position = ship.GetPosition();
  return {position.x,       position.y, ship.GetHp(), ship.GetHpMax(), ship.GetShotInterval(),
          ship.IsFinished()};
}

TraceFrame::Boss DescribeBoss(const MoverManager& manager, const MoverBoss& boss) {
  const Vec3 position = boss.GetPosition();
  return {position.x,       position.y,    boss.GetHp(),
          boss.GetPhase(),  boss.GetAge(), InBossSlot(manager, &boss),
          boss.IsFinished()};
}

}  // namespace

FrameReporter::FrameReporter(GameApp& app, Settings settings)
    : app(app), settings(std::move(settings)) {}

bool FrameReporter::CheckOutputs(const Settings& settings, std::string& error) {
  if (!settings.tracePath.empty() && !OutputFile("trace").CanCreate(settings.tracePath, error)) {
    return false;
  }
  if (!settings.recordPath.empty() && !OutputFile("replay").CanCreate(settings.recordPath, error)) {
    return false;
  }
  return true;
}

bool FrameReporter::Open(std::string& error) {
  if (!CheckOutputs(settings, error)) return false;
  if (!settings.tracePath.empty() && !trace.Open(settings.tracePath, error)) return false;
  if (!settings.recordPath.empty() && !recorder.Open(settings.recordPath, error)) return false;
  if (AudioSystem* audio = app.GetAudioSystem())
    audio->RecordPlayedSlots(!settings.tracePath.empty());
  return true;
}

bool FrameReporter::Finish() {
  if (!trace.Close()) outputFailed = true;
  if (!recorder.Close()) outputFailed = true;
  for (const auto& [shotFrame, path] : settings.screenshots) {
    if (shotFrame < frame) continue;
    std::fprintf(stderr, "vorlith: %s: no screenshot: frame %lld was never reached\n",
                 EscapeForMessage(path).c_str(), static_cast<long long>(shotFrame));
    outputFailed = true;
  }
  settings.screenshots.clear();
  return !outputFailed;
}

void FrameReporter::OnFrame() {
  recorder.Record(ControlsFromPad(app.GetRecordedPad()));
  if (!settings.tracePath.empty()) trace.Write(Describe());
  if (settings.dialogs) settings.dialogs->Clear();
  if (AudioSystem* audio = app.GetAudioSystem()) audio->ClearPlayedSlots();
  SaveScreenshots();
  if (settings.replay && settings.replay->IsFinished()) app.RequestQuit();
  ++frame;
}

TraceFrame FrameReporter::Describe() const {
  TraceFrame described;
  described.frame = frame;
  described.scene = app.GetScene();
  described.stage = app.GetStageNumber();
  described.score = app.GetScore();
  described.fps = app.GetFps();
  described.kills = app.GetMoverCounts().killedEnemies;
  described.combo = app.GetCombo().GetCount();
  if (settings.dialogs) described.messages = settings.dialogs->GetMessages();
  if (const AudioSystem* audio = app.GetAudioSystem()) described.sounds = audio->GetPlayedSlots();
  const CStage* stage = app.GetStage();
  const MoverManager* manager = stage ? stage->GetManager() : nullptr;
  if (!manager) return described;
  described.time = manager->GetStageTime();
  if (const MoverMyShip* ship = stage->GetMyShip()) described.ship = DescribeShip(*ship);
  if (const MoverBoss* boss = stage->GetBossMover()) described.boss = DescribeBoss(*manager, *boss);
  described.enemies = CountOccupied(manager->GetEnemySlots(), MoverManager::kEnemySlots);
  described.bullets = CountOccupied(manager->GetBulletSlots(), MoverManager::kBulletSlots);
  described.items = CountOccupied(manager->GetItemSlots(), MoverManager::kItemSlots);
  described.request = static_cast<char>(stage->GetRequest());
  return described;
}

void FrameReporter::SaveScreenshots() {
  for (const auto& [shotFrame, path] : settings.screenshots) {
    if (shotFrame != frame) continue;
    std::vector<std::uint8_t> rgba, png;
    int width = 0, height = 0;
    RenderDevice* device = app.GetGraphicsDevice()->GetDevice();
    if (!device->ReadBackBuffer(rgba, width, height) || !EncodePng(rgba, width, height, png)) {
      std::fprintf(stderr, "vorlith: %s: no screenshot: the picture could not be read back\n",
                   EscapeForMessage(path).c_str());
      outputFailed = true;
      continue;
    }
    OutputFile file("screenshot");
    std::string error;
    if (!file.Open(path, error)) {
      std::fprintf(stderr, "vorlith: %s\n", error.c_str());
      outputFailed = true;
      continue;
    }
    file.Write(png.data(), png.size());
    if (!file.Close()) outputFailed = true;
  }
}

}  // namespace vorlith
