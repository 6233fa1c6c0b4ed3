#include "movers/MoverBoss.h"

#include "graphics/LineDrawer.h"
#include "movers/BulletPositions.h"
#include "movers/MoverBullet.h"
#include "movers/MoverMyShip.h"
#include "movers/MoverWorld.h"

namespace vorlith {

bool MoverBoss::Box::Contains(const Vec3& centre, const Vec3& point) const {
  return centre.x + xMin <= point.x && point.x <= centre.x + xMax && centre.y + yMin <= point.y &&
         point.y <= centre.y + yMax;
}

MoverBoss::MoverBoss() = default;
MoverBoss::~MoverBoss() = default;

void MoverBoss::AddHitBox(float xMin, float xMax, float yMax, float yMin) {
  hitBoxes.push_back(Box{xMin, xMax, yMax, yMin});
}

void MoverBoss::AddContactBox(float xMin, float xMax, float yMax, float yMin) {
  contactBoxes.push_back(Box{xMin, xMax, yMax, yMin});
}

void MoverBoss::SetPhaseStart(int index, std::int32_t startAge) {
  if (index >= 0 && index < kPhaseCount) phases[index].start = startAge;
}

void MoverBoss::AddShot(MoverBullet* bullet) {
  bossShots.push_back(bullet);
}

// Entering play makes the gauges; no motion start runs.
void MoverBoss::Init() {
  RenderDevice* device = world ? world->GetDevice() : nullptr;
  hpBar = MakeGauge(device, kGaugeX, hpMax);
  hpMaxBar = MakeGauge(device, kGaugeX, hpMax);
}

void MoverBoss::Update() {
  if (finished) return;
  StepPhase();
  TestHitBoxes();
  TestContactBoxes();
  if (hp < 1) {
    finished = true;
    CountKill();
  }
}

void MoverBoss::StepPhase() {
  switch (phase) {
    case 1:
      Descend();
      break;
    case 2:
      Rise();
      break;
    case 3:
      Dance();
      break;
    default:
      break;
  }
  age += 1;
  const std::int32_t next = (phase + 1) % kPhaseCount;
  if (phases[next].start == age) phase = next;
}

void MoverBoss::Descend() {
  if (!phases[1].started) {
    motionParam[3] = 0.0f;
    motionParam[4] = speed;
    phases[1].started = true;
  }
  RunMotion(1);
  FireVolleys();
  if (position.y > static_cast<float>(FIELD_HEIGHT)) {
    phase = 2;
    phases[1].started = false;
  } else if (hp < hpMax / 2) {
    phase = 3;
    phases[1].started = false;
  }
}

void MoverBoss::Rise() {
  if (!phases[2].started) {
    motionParam[3] = 0.0f;
    motionParam[4] = -speed;
    phases[2].started = true;
  }
  RunMotion(1);
  if (position.y < 0.0f) {
    phase = 1;
    phases[2].started = false;
  }
}

void MoverBoss::Dance() {
  if (!phases[3].started) {
    motionParam[0] = 50.0f;
    motionParam[1] = 50.0f;
    motionParam[2] = 30.0f;
    motionParam[3] = 30.0f;
    motionParam[4] = 0.0f;
    phases[3].started = true;
  }
  RunMotion(8);
  FireVolleys();
}

void MoverBoss::FireVolleys() {
  FireFrom(1, 0.0f, 8.0f);
  FireFrom(0, -20.0f, 8.0f);
  FireFrom(0, 20.0f, 8.0f);
}

// The template's position travels into every copy, so it serves as the offset.
void MoverBoss::FireFrom(std::size_t index, float dx, float dy) {
  if (index >= bossShots.size() || !bossShots[index]) return;
  bossShots[index]->SetPosition(dx, dy, 0.0f);
  FireOnRhythm(bossShots[index]);
}

void MoverBoss::TestHitBoxes() {
  if (!world) return;
  MoverBullet* const* bullets = world->GetBulletSlots();
  const BulletPositions& positions = world->GetBulletPositions();
  for (const Box& box : hitBoxes) {
    // The edges of Box::Contains.
    positions.ForEachInside(position.x + box.xMin, position.x + box.xMax, position.y + box.yMin,
                            position.y + box.yMax, [&](int i) {
                              Damage(bullets[i]->GetPower());
                              bullets[i]->Damage(1);
                            });
  }
}

void MoverBoss::TestContactBoxes() {
  for (const Box& box : contactBoxes) {
    Mover* ship = PlayerShip();
    if (!ship) return;
    if (box.Contains(position, ship->GetPosition())) ship->Damage(5);
  }
}

void MoverBoss::StepDrawnFrame() {
  if (!finished) MoverEnemy::StepDrawnFrame();
}

void MoverBoss::Draw() const {
  if (finished) return;
  MoverEnemy::Draw();
  DrawGauge(hpMaxBar.get(), kGaugeX, hpMax, 0xFFFFFFFF);
  DrawGauge(hpBar.get(), kGaugeX, hp, kGaugeColour);
}

}  // namespace vorlith
