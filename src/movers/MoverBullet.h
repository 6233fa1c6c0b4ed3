#pragma once

#include <cstdint>

#include "movers/Mover.h"

namespace vorlith {

// A bullet in flight, or a bullet template that also carries the firing rhythm and volley
// shape of the enemies and bosses that fire it. Bullets have no side: every ship, enemy and
// boss tests every bullet in play.
class MoverBullet : public Mover {
 public:
  MoverBullet() = default;
  MoverBullet(const MoverBullet&) = default;
  MoverBullet& operator=(const MoverBullet&) = default;
  ~MoverBullet() override = default;

  void Init() override;
  void Draw() const override;
  void Move() override;
  void Update() override;

  void SetPower(std::int32_t n) { power = n; }
  std::int32_t GetPower() const { return power; }
  void SetFire(std::int32_t pattern, std::int32_t start, std::int32_t interval, std::int32_t shots,
               float newWays, float step);
  std::int32_t GetFirePattern() const { return firePattern; }
  std::int32_t GetFireStart() const { return fireStart; }
  std::int32_t GetFireInterval() const { return fireInterval; }
  std::int32_t GetShotsLeft() const { return shotsLeft; }
  // Uses up one volley of a limited template (the count is shared by all its shooters).
  void CountShot();
  float GetWays() const { return ways; }
  float GetSpreadStep() const { return spreadStep; }
  void SetVelocity(float vx, float vy);

 private:
  std::int32_t power = 1;
  std::int32_t firePattern = 0;
  // An unconfigured template fires nothing: no interval and no volleys left.
  std::int32_t fireStart = 0;
  std::int32_t fireInterval = 0;
  std::int32_t shotsLeft = 0;
  float ways = 0.0f;
  float spreadStep = 0.0f;
};

}  // namespace vorlith
