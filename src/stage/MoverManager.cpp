#include "stage/MoverManager.h"

#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "platform/Dialogs.h"
#include "sound/SoundManager.h"

namespace vorlith {
namespace {

constexpr const char* kLabelFace = "HGP創英角ﾎﾟｯﾌﾟ体";
constexpr std::int32_t kSweepDamage = 999999;
static_assert(BulletPositions::kSlots == MoverWorld::kBulletSlots);

}  // namespace

MoverManager::MoverManager(RenderDevice* renderDevice, Dialogs& dialogs, SoundManager* sounds)
    : device(renderDevice), dialogs(dialogs), soundManager(sounds) {
  font.Create(device, dialogs, 12, 0, 300, kLabelFace);
}

MoverManager::~MoverManager() {
  enemyPrototypes.clear();
  bulletPrototypes.clear();
  bosses.clear();
  itemPrototypes.clear();
}

template <typename T, int N>
T** MoverManager::Store(T* (&slots)[N], T* mover, const char* operation) {
  for (T*& slot : slots) {
    if (!slot) {
      slot = mover;
      mover->SetWorld(this);
      return &slot;
    }
  }
  dialogs.ShowMessage("Error", operation);
  return nullptr;
}

bool MoverManager::CreateMoverMyShip(MoverMyShip* mover) {
  return Store(shipSlots, mover, "MoverManager::CreateMoverMyShip()") != nullptr;
}

bool MoverManager::CreateMoverBoss(MoverBoss* mover) {
  return Store(bossSlots, mover, "MoverManager::CreateMoverBoss()") != nullptr;
}

bool MoverManager::CreateMoverEnemy(MoverEnemy* mover) {
  return Store(enemySlots, mover, "MoverManager::CreateMoverEnemy()") != nullptr;
}

bool MoverManager::CreateMoverBullet(MoverBullet* mover) {
  MoverBullet** slot = Store(bulletSlots, mover, "MoverManager::CreateMoverBullet()");
  if (!slot) return false;
  const Vec3 at = mover->GetPosition();
  bulletPositions.Set(static_cast<int>(slot - bulletSlots), at.x, at.y);
  return true;
}

bool MoverManager::CreateMoverItem(MoverItem* mover) {
  return Store(itemSlots, mover, "MoverManager::CreateMoverItem()") != nullptr;
}

bool MoverManager::CreateMoverLine(Mover* mover) {
  return Store(lineSlots, mover, "MoverManager::CreateMoverLine()") != nullptr;
}

void MoverManager::AddEnemyPrototype(MoverEnemy* mover) {
  mover->SetWorld(this);
  enemyPrototypes.emplace_back(mover);
}

void MoverManager::AddBoss(MoverBoss* mover) {
  mover->SetWorld(this);
  bosses.emplace_back(mover);
}

void MoverManager::AddBulletPrototype(MoverBullet* mover) {
  mover->SetWorld(this);
  bulletPrototypes.emplace_back(mover);
}

void MoverManager::AddItemPrototype(MoverItem* mover) {
  mover->SetWorld(this);
  itemPrototypes.emplace_back(mover);
}

void MoverManager::UpdateFrame(const PadState& pad) {
  ReadBulletPositions();
  Spawn();
  for (MoverMyShip* ship : shipSlots) {
    if (ship) ship->Update(pad);
  }
  for (MoverBoss* boss : bossSlots) {
    if (boss) boss->Update();
  }
  UpdateAndRemove(enemySlots);
  UpdateAndRemove(bulletSlots);
  UpdateAndRemove(itemSlots);
  stageTime += 1;
}

template <typename T, int N>
void MoverManager::UpdateAndRemove(T* (&slots)[N]) {
  for (T*& slot : slots) {
    if (!slot) continue;
    if (slot->IsFinished()) {
      delete slot;
      slot = nullptr;
    } else {
      slot->Update();
    }
  }
}

// Bullets stand still through the update frame, so what is read here serves every hit test
// of the frame; bullets fired in it are added as they are stored.
void MoverManager::ReadBulletPositions() {
  for (int i = 0; i < kBulletSlots; ++i) {
    if (const MoverBullet* bullet = bulletSlots[i]) {
      const Vec3 at = bullet->GetPosition();
      bulletPositions.Set(i, at.x, at.y);
    } else {
      bulletPositions.Clear(i);
    }
  }
}

void MoverManager::Spawn() {
  SpawnEnemies();
  SpawnBosses();
  SpawnItems();
}

// Enemies come only while the first registered boss is not destroyed. An interval of 0
// never spawns.
void MoverManager::SpawnEnemies() {
  if (bosses.empty() || bosses.front()->IsFinished()) return;
  for (const auto& prototype : enemyPrototypes) {
    const std::int32_t count = prototype->GetAppearCount();
    if (count != -1 && count < 1) continue;
    const std::int32_t interval = prototype->GetAppearInterval();
    if (interval == 0) continue;
    const std::int64_t sinceStart =
        static_cast<std::int64_t>(stageTime) - prototype->GetAppearStart();
    if (sinceStart % interval != 0) continue;
    auto* enemy = new MoverEnemy(*prototype);
    enemy->Init();
    enemy->SetTimer(0);
    if (!CreateMoverEnemy(enemy)) delete enemy;
    prototype->CountAppearance();
  }
}

void MoverManager::SpawnBosses() {
  for (const auto& boss : bosses) {
    if (stageTime != boss->GetAppearStart()) continue;
    boss->Init();
    boss->SetTimer(0);
    CreateMoverBoss(boss.get());
  }
}

void MoverManager::SpawnItems() {
  for (const auto& prototype : itemPrototypes) {
    const std::vector<std::int32_t>& frames = prototype->GetSpawnFrames();
    if (frames.empty() || stageTime < frames.front() || stageTime > frames.back()) continue;
    for (std::int32_t frame : frames) {
      if (frame != stageTime) continue;
      auto* item = new MoverItem(*prototype);
      item->Init();
      if (!CreateMoverItem(item)) delete item;
    }
  }
}

void MoverManager::MoveMovers(const PadState& pad) {
  for (MoverMyShip* ship : shipSlots) {
    if (ship) ship->Move(pad);
  }
  for (MoverEnemy* enemy : enemySlots) {
    if (enemy) enemy->Move();
  }
  for (MoverBoss* boss : bossSlots) {
    if (boss) boss->Move();
  }
  for (MoverBullet* bullet : bulletSlots) {
    if (bullet) bullet->Move();
  }
  for (MoverItem* item : itemSlots) {
    if (item) item->Move();
  }
}

void MoverManager::AddKill() {
  killsThisFrame += 1;
  counts->killedEnemies += 1;
}

void MoverManager::StepDrawnFrame() {
  for (MoverMyShip* ship : shipSlots) {
    if (ship) ship->StepDrawnFrame();
  }
  for (MoverEnemy* enemy : enemySlots) {
    if (enemy) enemy->StepDrawnFrame();
  }
  for (MoverBoss* boss : bossSlots) {
    if (boss) boss->StepDrawnFrame();
  }
  for (MoverBullet* bullet : bulletSlots) {
    if (bullet) bullet->StepDrawnFrame();
  }
  for (MoverItem* item : itemSlots) {
    if (item) item->StepDrawnFrame();
  }
  for (Mover* line : lineSlots) {
    if (line) line->StepDrawnFrame();
  }
}

void MoverManager::DrawMovers() const {
  for (MoverMyShip* ship : shipSlots) {
    if (ship) ship->Draw();
  }
  for (MoverEnemy* enemy : enemySlots) {
    if (enemy) enemy->Draw();
  }
  for (MoverBoss* boss : bossSlots) {
    if (boss) boss->Draw();
  }
  for (MoverBullet* bullet : bulletSlots) {
    if (bullet) bullet->Draw();
  }
  for (MoverItem* item : itemSlots) {
    if (item) item->Draw();
  }
  for (Mover* line : lineSlots) {
    if (line) line->Draw();
  }
}

void MoverManager::DamageAllOfKind(int kind) {
  if (kind == kDamageEnemies) {
    for (MoverEnemy* enemy : enemySlots) {
      if (enemy) enemy->Damage(kSweepDamage);
    }
  } else if (kind == kDamageBullets) {
    for (MoverBullet* bullet : bulletSlots) {
      if (bullet) bullet->Damage(kSweepDamage);
    }
  }
}

// Points count only while the player's ship is in play.
void MoverManager::AddScore(std::int32_t points) {
  const MoverMyShip* ship = shipSlots[0];
  if (!ship || ship->IsFinished()) return;
  pendingScore = static_cast<std::int32_t>(static_cast<std::uint32_t>(pendingScore) +
                                           static_cast<std::uint32_t>(points));
}

std::int32_t MoverManager::TakeScore() {
  const std::int32_t points = pendingScore;
  pendingScore = 0;
  return points;
}

void MoverManager::DrawTextAt(const char* text, float x, float y, float /*z*/,
                              std::uint32_t colour) {
  const std::int32_t screenX = Mover::Truncate(x * 3.14f) + 245;
  const std::int32_t screenY = Mover::Truncate(y * 3.14f) + 100;
  font.DrawText(text, screenX, screenY, colour, Center);
}

template <typename T, int N>
void MoverManager::DestroyAll(T* (&slots)[N]) {
  for (T*& slot : slots) {
    delete slot;
    slot = nullptr;
  }
}

void MoverManager::ClearMovers() {
  DestroyAll(shipSlots);
  DestroyAll(enemySlots);
  DestroyAll(bulletSlots);
  bulletPositions.ClearAll();
  DestroyAll(itemSlots);
  DestroyAll(lineSlots);
}

void MoverManager::PlaySound(int slot) {
  if (soundManager) soundManager->Play(slot);
}

}  // namespace vorlith
