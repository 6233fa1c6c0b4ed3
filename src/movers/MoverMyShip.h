#pragma once

#include <cstdint>
#include <memory>

#include "movers/MoverShooter.h"

namespace vorlith {

class LineDrawer;
class MoverBullet;
class RenderDevice;
struct PadState;

// The player's ship: steered by the frame's pad, fires its weapon while Z is held, shows its
// hit points as a gauge at screen x 440.
class MoverMyShip : public MoverShooter {
 public:
  static constexpr float kGaugeX = 440.0f;
  static constexpr float kGaugeBottom = 380.0f;
  static constexpr std::uint32_t kGaugeColour = 0xFF6464FF;

  MoverMyShip();
  ~MoverMyShip() override;
  MoverMyShip(const MoverMyShip&) = delete;
  MoverMyShip& operator=(const MoverMyShip&) = delete;

  void Init() override;
  void StepDrawnFrame() override;
  void Draw() const override;
  // The frame's steps with the pad the frame plays with; without one, a released pad.
  void Move(const PadState& pad);
  void Update(const PadState& pad);
  void Move() override;
  void Update() override;

  void SetShotTemplate(MoverBullet* bullet) { shot = bullet; }
  MoverBullet* GetShotTemplate() const { return shot; }
  void ShortenInterval(std::int32_t n);
  std::int32_t GetShotInterval() const { return shotInterval; }
  std::int32_t GetFireCounter() const { return fireCounter; }
  const LineDrawer* GetHpBar() const { return hpBar.get(); }
  const LineDrawer* GetHpMaxBar() const { return hpMaxBar.get(); }

 private:
  void Fire(const PadState& pad);
  void TestBullets();
  void TestEnemies();
  void TestBosses();

  MoverBullet* shot = nullptr;
  std::unique_ptr<LineDrawer> hpBar;
  std::unique_ptr<LineDrawer> hpMaxBar;
  std::int32_t shotInterval = 8;
  std::int32_t fireCounter = 0;
};

// A hit-point gauge as the ship and the boss show it: a 10-pixel bar growing upward from
// y 380 at screen x `x`, one pixel per point.
std::unique_ptr<LineDrawer> MakeGauge(RenderDevice* device, float x, std::int32_t length);
void DrawGauge(LineDrawer* gauge, float x, std::int32_t length, std::uint32_t colour);

}  // namespace vorlith
