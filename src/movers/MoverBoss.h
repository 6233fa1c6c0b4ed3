#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "movers/MoverEnemy.h"

namespace vorlith {

class LineDrawer;
class MoverBullet;

// The stage's end enemy: waits, descends and rises in turn, then dances once half its hit
// points are gone; hurt only inside its hit boxes, hurting the ship through its contact
// boxes; its gauge stands at screen x 460.
class MoverBoss : public MoverEnemy {
 public:
  static constexpr float kGaugeX = 460.0f;
  static constexpr std::uint32_t kGaugeColour = 0xFFFF9696;
  static constexpr int kPhaseCount = 4;

  // A rectangle relative to the boss position, ends inclusive.
  struct Box {
    float xMin = 0, xMax = 0, yMax = 0, yMin = 0;
    bool Contains(const Vec3& centre, const Vec3& point) const;
  };
  struct PhaseRecord {
    std::int32_t start = 0;
    bool started = false;
  };

  MoverBoss();
  ~MoverBoss() override;
  MoverBoss(const MoverBoss&) = delete;
  MoverBoss& operator=(const MoverBoss&) = delete;

  void Init() override;
  void StepDrawnFrame() override;
  void Draw() const override;
  void Update() override;

  void AddHitBox(float xMin, float xMax, float yMax, float yMin);
  void AddContactBox(float xMin, float xMax, float yMax, float yMin);
  void SetPhaseStart(int index, std::int32_t startAge);
  void AddShot(MoverBullet* bullet);
  std::int32_t GetPhase() const { return phase; }
  const PhaseRecord& GetPhaseRecord(int index) const { return phases[index]; }
  const LineDrawer* GetHpBar() const { return hpBar.get(); }
  const LineDrawer* GetHpMaxBar() const { return hpMaxBar.get(); }

 private:
  void StepPhase();
  void Descend();
  void Rise();
  void Dance();
  void FireVolleys();
  // Fires one of the boss's templates from an offset, if the boss has that many.
  void FireFrom(std::size_t index, float dx, float dy);
  void TestHitBoxes();
  void TestContactBoxes();

  std::unique_ptr<LineDrawer> hpBar;
  std::unique_ptr<LineDrawer> hpMaxBar;
  std::vector<Box> hitBoxes;
  std::vector<Box> contactBoxes;
  std::vector<MoverBullet*> bossShots;
  std::int32_t phase = 0;
  PhaseRecord phases[kPhaseCount];
};

}  // namespace vorlith
