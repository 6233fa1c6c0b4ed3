#pragma once

#include <cstdint>

namespace vorlith {

class BulletPositions;
class MoverBoss;
class MoverBullet;
class MoverEnemy;
class MoverMyShip;
class RenderDevice;

// What a mover reaches of the running stage: the player's ship, the movers it can hit, new
// bullets, the frame's score and kills, labels on the field and sounds. The stage's mover
// manager is one; it hands itself to every mover it stores, and copies keep it.
class MoverWorld {
 public:
  static constexpr int kShipSlots = 3;
  static constexpr int kBossSlots = 3;
  static constexpr int kEnemySlots = 50;
  static constexpr int kBulletSlots = 500;

  virtual ~MoverWorld() = default;

  virtual MoverMyShip* const* GetShipSlots() const = 0;
  virtual MoverBoss* const* GetBossSlots() const = 0;
  virtual MoverEnemy* const* GetEnemySlots() const = 0;
  virtual MoverBullet* const* GetBulletSlots() const = 0;
  // Where the bullets of those slots stand, for the hit tests (fresh from the frame's start
  // and every bullet stored since).
  virtual const BulletPositions& GetBulletPositions() const = 0;
  // Stores a new bullet; false when every bullet slot is taken (the caller keeps it).
  virtual bool CreateMoverBullet(MoverBullet* bullet) = 0;
  virtual void AddScore(std::int32_t points) = 0;
  // An enemy or the boss destroyed: one more kill for the frame and for the whole run.
  virtual void AddKill() = 0;
  // One more bullet, or enemy (the boss too), drawn for the debug panel's counts.
  virtual void CountDrawnBullet() = 0;
  virtual void CountDrawnEnemy() = 0;
  // A label centred on a playfield position.
  virtual void DrawTextAt(const char* text, float x, float y, float z, std::uint32_t colour) = 0;
  virtual void PlaySound(int slot) = 0;
  virtual RenderDevice* GetDevice() const = 0;
};

}  // namespace vorlith
