#pragma once

#include <cstdint>
#include <memory>

#include "base/RenderTypes.h"
#include "graphics/ModelRegistry.h"
#include "graphics/TextFont.h"
#include "platform/AudioDevice.h"
#include "sound/SoundManager.h"
#include "stage/ComboCounter.h"
#include "stage/MoverCounts.h"
#include "stage/StageRequest.h"

namespace vorlith {

class Dialogs;
class Model;
class Mover;
class MoverBoss;
class MoverBullet;
class MoverEnemy;
class MoverItem;
class MoverManager;
class MoverMyShip;
class RenderDevice;
struct PadState;

// One stage run: owns its mover manager, sounds, models and fonts; holds the stage's ship
// and boss, the points not yet taken and the request the result overlays leave.
class CStage {
 public:
  CStage(RenderDevice* renderDevice, AudioSystem* audioSystem, Dialogs& dialogs);  // borrowed
  ~CStage();
  CStage(const CStage&) = delete;
  CStage& operator=(const CStage&) = delete;

  // Makes the manager and hands it to the movers, opens the sound device (false when that
  // fails) and creates the fonts.
  bool Init();

  void RegisterSound(int slot, const char* fileName);
  bool LoadAllSounds();
  void RegisterModel(int slot, const char* fileName);
  bool LoadAllModels();
  Model* GetModel(int slot) const;
  void ReleaseAllModels();

  // Registrations take ownership of every entry. An entry without a model is refused with
  // a message; it and the entries after it are destroyed and the result is false.
  bool SetMoverMyShip(MoverMyShip* const* entries, int count);
  bool SetMoverBullet(MoverBullet* const* entries, int count);
  bool SetMoverEnemy(MoverEnemy* const* entries, int count);
  bool SetMoverBoss(MoverBoss* const* entries, int count);
  bool SetMoverItem(MoverItem* const* entries, int count);
  bool SetMoverLine(Mover* const* entries, int count);

  // One update frame with the frame's pad: the manager's frame, the sweep once the boss is
  // destroyed, the frame's points.
  void Step(const PadState& pad);
  void MoveAll(const PadState& pad);
  StageRequest GetRequest() const { return request; }
  // Once per drawn play frame, before anything is drawn: the result step leaves the request
  // the frame's pad asks for, the combo counter takes the frame's kills and pays its bonus
  // into the points, every mover's pop-up counts down.
  void StepDrawnFrame(const PadState& pad);
  // The result overlays, the combo count and every mover.
  void Draw() const;
  // The last stage of the game: its "Stage Clear!!" says the run is complete.
  void SetLastStage(bool on) { lastStage = on; }
  std::int32_t TakeScore();

  Vec3 GetShipPosition() const;
  MoverMyShip* const* GetShipSlots() const;
  void ClearMovers();

  MoverManager* GetManager() const { return manager.get(); }
  MoverMyShip* GetMyShip() const { return myShip; }
  MoverBoss* GetBossMover() const { return boss; }
  SoundManager& GetSoundManager() { return soundManager; }
  bool IsSweepDone() const { return sweepDone; }
  // The combo counter the stage pays from: the game's, which outlives stages; a stage on its
  // own keeps one of its own.
  void SetComboCounter(ComboCounter* counter) { combo = counter ? counter : &ownCombo; }
  // The debug panel's counts the movers add to, likewise the game's; set before `Init`.
  void SetMoverCounts(MoverCounts* counts) { moverCounts = counts; }

 private:
  template <typename T, typename Add>
  bool Register(T* const* entries, int count, const char* caption, Add add);

  std::unique_ptr<MoverManager> manager;
  SoundManager soundManager;
  ModelRegistry models;
  MoverMyShip* myShip = nullptr;
  MoverBoss* boss = nullptr;
  std::int32_t score = 0;
  RenderDevice* device;
  AudioSystem* audio;
  Dialogs& dialogs;
  TextFont largeFont;
  TextFont mediumFont;
  TextFont smallFont;
  StageRequest request = StageRequest::kNone;
  bool sweepDone = false;
  bool lastStage = false;
  ComboCounter ownCombo;
  ComboCounter* combo = &ownCombo;
  MoverCounts* moverCounts = nullptr;
};

}  // namespace vorlith
