#include "movers/MoverMyShip.h"

#include "graphics/LineDrawer.h"
#include "input/PadState.h"
#include "movers/BulletPositions.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverWorld.h"

namespace vorlith {

std::unique_ptr<LineDrawer> MakeGauge(RenderDevice* device, float x, std::int32_t length) {
  auto gauge = std::make_unique<LineDrawer>();
  gauge->Create(device, 1, 10.0f, true, false, 1.0f);
  gauge->AddPoint({x, MoverMyShip::kGaugeBottom});
  gauge->AddPoint({x, MoverMyShip::kGaugeBottom - static_cast<float>(length)});
  return gauge;
}

void DrawGauge(LineDrawer* gauge, float x, std::int32_t length, std::uint32_t colour) {
  if (!gauge) return;
  gauge->SetPoint(1, x, MoverMyShip::kGaugeBottom - static_cast<float>(length));
  gauge->Draw(colour);
}

MoverMyShip::MoverMyShip() {
  score = 1;
  angle = 0.0f;
}

MoverMyShip::~MoverMyShip() = default;

void MoverMyShip::Init() {
  RenderDevice* device = world ? world->GetDevice() : nullptr;
  hpBar = MakeGauge(device, kGaugeX, hpMax);
  hpMaxBar = MakeGauge(device, kGaugeX, hpMax);
}

void MoverMyShip::ShortenInterval(std::int32_t n) {
  if (shotInterval - n >= 2) {
    shotInterval -= n;
  } else {
    shotInterval = 1;
  }
}

void MoverMyShip::Move() {
  Move(PadState{});
}

void MoverMyShip::Update() {
  Update(PadState{});
}

void MoverMyShip::Move(const PadState& pad) {
  if (finished) return;
  float dx = (pad.right ? speed : 0.0f) - (pad.left ? speed : 0.0f);
  if (position.x + dx < 0.0f || position.x + dx > static_cast<float>(FIELD_WIDTH)) dx = 0.0f;
  float dy = (pad.down ? speed : 0.0f) - (pad.up ? speed : 0.0f);
  if (position.y + dy < 0.0f || position.y + dy > static_cast<float>(FIELD_HEIGHT)) dy = 0.0f;
  Translate(dx, dy, 0.0f);
}

void MoverMyShip::Update(const PadState& pad) {
  Fire(pad);
  if (finished || !world) return;
  TestBullets();
  TestEnemies();
  TestBosses();
  if (hp < 1) {
    if (world) world->AddScore(score);
    finished = true;
  }
}

void MoverMyShip::Fire(const PadState& pad) {
  if (finished || !pad.buttons[0] || !shot) return;
  if (fireCounter == 0) {
    FireVolley(shot);
    PlaySound(0);
  }
  fireCounter += pad.buttons[0];
  if (fireCounter > shotInterval) fireCounter = 0;
}

void MoverMyShip::TestBullets() {
  MoverBullet* const* bullets = world->GetBulletSlots();
  const float half = static_cast<float>(size / 2);  // the box of Contains
  world->GetBulletPositions().ForEachInside(position.x - half, position.x + half, position.y - half,
                                            position.y + half, [&](int i) {
                                              hp -= bullets[i]->GetPower();
                                              bullets[i]->Damage(1);
                                            });
}

void MoverMyShip::TestEnemies() {
  MoverEnemy* const* enemies = world->GetEnemySlots();
  for (int i = 0; i < MoverWorld::kEnemySlots; ++i) {
    MoverEnemy* enemy = enemies[i];
    if (!enemy || enemy->GetTimer() != 0 || !Contains(enemy->GetPosition())) continue;
    hp -= 5;
    enemy->Damage(1);
  }
}

void MoverMyShip::TestBosses() {
  MoverBoss* const* bosses = world->GetBossSlots();
  for (int i = 0; i < MoverWorld::kBossSlots; ++i) {
    MoverBoss* boss = bosses[i];
    if (!boss || boss->GetTimer() != 0 || !Contains(boss->GetPosition())) continue;
    boss->Damage(1);
  }
}

void MoverMyShip::StepDrawnFrame() {
  if (!finished) CountDownPopup();
}

void MoverMyShip::Draw() const {
  DrawGauge(hpMaxBar.get(), kGaugeX, hpMax, 0xFFFFFFFF);
  DrawGauge(hpBar.get(), kGaugeX, hp, kGaugeColour);
  if (finished) return;
  DrawModel(0.0f, 0.0f, angle);
  DrawPopup();
}

}  // namespace vorlith
