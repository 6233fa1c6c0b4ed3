#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/TextFont.h"
#include "movers/BulletPositions.h"
#include "movers/MoverWorld.h"
#include "stage/MoverCounts.h"

namespace vorlith {

class Dialogs;
class Mover;
class MoverBoss;
class MoverBullet;
class MoverEnemy;
class MoverItem;
class MoverMyShip;
struct PadState;
class RenderDevice;
class SoundManager;

// Owns every mover of the running stage in fixed slot arrays per kind, the registered
// templates and bosses, the stage clock and the score and kills of the current frame.
// Slots are searched from index 0; each frame spawns what is due, updates, removes finished
// movers and then moves them, all in fixed orders. It is the world of every mover it stores.
class MoverManager : public MoverWorld {
 public:
  static constexpr int kItemSlots = 10;
  static constexpr int kLineSlots = 4;

  enum DamageKind : int { kDamageEnemies = 1, kDamageBullets = 2 };

  // `sounds` (may be null) plays what the movers ask for.
  MoverManager(RenderDevice* renderDevice, Dialogs& dialogs, SoundManager* sounds = nullptr);
  ~MoverManager() override;
  MoverManager(const MoverManager&) = delete;
  MoverManager& operator=(const MoverManager&) = delete;

  // Store the mover in the first free slot of its kind. When the kind is full an "Error"
  // box names the operation and the mover is not stored: false, and the caller keeps it.
  bool CreateMoverMyShip(MoverMyShip* mover);
  bool CreateMoverBoss(MoverBoss* mover);
  bool CreateMoverEnemy(MoverEnemy* mover);
  bool CreateMoverBullet(MoverBullet* mover) override;
  bool CreateMoverItem(MoverItem* mover);
  bool CreateMoverLine(Mover* mover);

  // The lists take ownership.
  void AddEnemyPrototype(MoverEnemy* mover);
  void AddBoss(MoverBoss* mover);
  void AddBulletPrototype(MoverBullet* mover);
  void AddItemPrototype(MoverItem* mover);

  // Spawning, every mover's Update with removal of finished ones, then the clock + 1.
  void UpdateFrame(const PadState& pad);
  void MoveMovers(const PadState& pad);
  // Every mover's drawn-frame step, then its drawing, each kind in the same slot order.
  void StepDrawnFrame();
  void DrawMovers() const;
  void DamageAllOfKind(int kind);

  void AddScore(std::int32_t points) override;
  std::int32_t TakeScore();
  void AddKill() override;
  void CountDrawnBullet() override { counts->visibleBullets += 1; }
  void CountDrawnEnemy() override { counts->visibleEnemies += 1; }
  // The counts the movers add to: the game's, which outlive stages; a manager on its own
  // keeps its own.
  void SetMoverCounts(MoverCounts* shared) { counts = shared ? shared : &ownCounts; }
  const MoverCounts& GetMoverCounts() const { return *counts; }
  std::int32_t GetKillCount() const { return killsThisFrame; }
  void ResetKillCount() { killsThisFrame = 0; }

  MoverEnemy* const* GetEnemySlots() const override { return enemySlots; }
  MoverBullet* const* GetBulletSlots() const override { return bulletSlots; }
  const BulletPositions& GetBulletPositions() const override { return bulletPositions; }
  MoverBoss* const* GetBossSlots() const override { return bossSlots; }
  MoverMyShip* const* GetShipSlots() const override { return shipSlots; }
  MoverItem* const* GetItemSlots() const { return itemSlots; }
  Mover* const* GetLineSlots() const { return lineSlots; }
  RenderDevice* GetDevice() const override { return device; }
  std::int32_t GetStageTime() const { return stageTime; }

  std::size_t GetEnemyPrototypeCount() const { return enemyPrototypes.size(); }
  std::size_t GetBossCount() const { return bosses.size(); }
  std::size_t GetBulletPrototypeCount() const { return bulletPrototypes.size(); }
  std::size_t GetItemPrototypeCount() const { return itemPrototypes.size(); }
  MoverBoss* GetBoss(std::size_t index) const { return bosses[index].get(); }

  // A label centred on a playfield position, in the manager's small font.
  void DrawTextAt(const char* text, float x, float y, float z, std::uint32_t colour) override;
  void PlaySound(int slot) override;
  // Destroys every mover in the ship, enemy, bullet, item and line slots; bosses stay with
  // their list.
  void ClearMovers();

 private:
  // The slot taken, or null when the kind is full.
  template <typename T, int N>
  T** Store(T* (&slots)[N], T* mover, const char* operation);
  template <typename T, int N>
  static void UpdateAndRemove(T* (&slots)[N]);
  template <typename T, int N>
  static void DestroyAll(T* (&slots)[N]);

  void ReadBulletPositions();
  void Spawn();
  void SpawnEnemies();
  void SpawnBosses();
  void SpawnItems();

  std::vector<std::unique_ptr<MoverEnemy>> enemyPrototypes;
  std::vector<std::unique_ptr<MoverBoss>> bosses;
  std::vector<std::unique_ptr<MoverBullet>> bulletPrototypes;
  std::vector<std::unique_ptr<MoverItem>> itemPrototypes;
  MoverEnemy* enemySlots[kEnemySlots] = {};
  MoverBullet* bulletSlots[kBulletSlots] = {};
  BulletPositions bulletPositions;
  MoverBoss* bossSlots[kBossSlots] = {};
  MoverMyShip* shipSlots[kShipSlots] = {};
  Mover* lineSlots[kLineSlots] = {};
  MoverItem* itemSlots[kItemSlots] = {};
  std::int32_t pendingScore = 0;
  std::int32_t killsThisFrame = 0;
  MoverCounts ownCounts;
  MoverCounts* counts = &ownCounts;
  RenderDevice* device;
  Dialogs& dialogs;
  SoundManager* soundManager;
  TextFont font;
  std::int32_t stageTime = 0;
};

}  // namespace vorlith
