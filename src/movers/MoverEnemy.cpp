#include "movers/MoverEnemy.h"

#include "movers/BulletPositions.h"
#include "movers/MoverBullet.h"
#include "movers/MoverMyShip.h"
#include "movers/MoverWorld.h"

namespace vorlith {

void MoverEnemy::SetShot(MoverBullet* bullet, std::int32_t start, std::int32_t interval,
                         std::int32_t count) {
  shot = bullet;
  appearStart = start;
  appearInterval = interval;
  appearCount = count;
}

void MoverEnemy::CountAppearance() {
  if (appearCount > 0) appearCount -= 1;
}

// A copy made while the player's ship is finished drops out at once.
void MoverEnemy::Init() {
  const Mover* ship = PlayerShip();
  if (ship && ship->IsFinished()) {
    finished = true;
    return;
  }
  StartMotion();
}

void MoverEnemy::Update() {
  if (dead) {
    timer -= 1;
    if (timer < -100) finished = true;
    return;
  }
  if (!InOuterField()) dead = true;
  FireOnRhythm(shot);
  if (timer == 0) TestBullets();
  if (hp < 1) {
    dead = true;
    CountKill();
    ShowPopupNumber(score, kScoreColour);
    PlaySound(1);
  }
  age += 1;
}

void MoverEnemy::CountKill() {
  if (world) {
    world->AddScore(score);
    world->AddKill();
  }
}

void MoverEnemy::FireOnRhythm(MoverBullet* bullet) {
  if (!bullet) return;
  const std::int32_t shots = bullet->GetShotsLeft();
  if (shots != -1 && shots <= 0) return;
  const std::int32_t interval = bullet->GetFireInterval();
  if (interval == 0) return;
  const std::int64_t sinceStart = static_cast<std::int64_t>(age) - bullet->GetFireStart();
  if (sinceStart % interval != 0) return;
  FireVolley(bullet);
  bullet->CountShot();
}

void MoverEnemy::TestBullets() {
  if (!world) return;
  MoverBullet* const* bullets = world->GetBulletSlots();
  const float half = static_cast<float>(size / 2);  // the box of Contains
  world->GetBulletPositions().ForEachInside(position.x - half, position.x + half, position.y - half,
                                            position.y + half, [&](int i) {
                                              Damage(bullets[i]->GetPower());
                                              bullets[i]->Damage(1);
                                            });
}

void MoverEnemy::Move() {
  if (dead) return;
  switch (motionType) {
    case 1:
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
      RunMotion(motionType);
      break;
    default:
      break;
  }
}

void MoverEnemy::DrawBody() const {
  DrawModel(0.0f, 0.0f, angle);
  if (world) world->CountDrawnEnemy();
}

void MoverEnemy::StepDrawnFrame() {
  CountDownPopup();
}

void MoverEnemy::Draw() const {
  if (!dead) DrawBody();
  DrawPopup();
}

}  // namespace vorlith
