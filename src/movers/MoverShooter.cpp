#include "movers/MoverShooter.h"

#include <cmath>

#include "movers/MoverBullet.h"
#include "movers/MoverWorld.h"

namespace vorlith {

void MoverShooter::FireVolley(MoverBullet* bullet) {
  switch (bullet->GetFirePattern()) {
    case 1:
      FireParallel(bullet, 2);
      break;
    case 2:
      FireParallel(bullet, 3);
      break;
    case 3:
      FireSpread(bullet);
      break;
    default:
      FireParallel(bullet, 1);
      break;
  }
}

void MoverShooter::FireParallel(MoverBullet* bullet, int n) {
  float offset = (-2.0f / 2.0f) * static_cast<float>(n - 1);
  for (int i = 0; i < n; ++i) {
    auto* shot = new MoverBullet(*bullet);
    shot->SetOwner(this);
    shot->SetWorld(world);  // plays where its shooter plays, whoever holds the template
    shot->Translate(position.x + offset, position.y, 0.0f);
    shot->Init();
    shot->SetTimer(0);
    Launch(shot);
    offset += 2.0f;
  }
}

void MoverShooter::FireSpread(MoverBullet* bullet) {
  const int n = Truncate(bullet->GetWays());
  if (n < 1) return;
  const float step = bullet->GetSpreadStep();
  const float s = bullet->GetSpeed();
  const float theta = angle;
  const float vx0 = std::sin(theta * kDegToRad) * s;
  const float vy0 = std::cos(theta * kDegToRad) * (-s);
  float a = -step * static_cast<float>(n - 1) / 2.0f;
  for (int i = 0; i < n; ++i) {
    auto* shot = new MoverBullet(*bullet);
    shot->SetOwner(this);
    shot->SetWorld(world);  // plays where its shooter plays, whoever holds the template
    shot->Init();
    shot->SetTimer(0);
    const float sinA = std::sin(a * kDegToRad);
    const float cosA = std::cos(a * kDegToRad);
    if (theta <= 90.0f) {
      shot->Translate(position.x + sinA * 3.0f, position.y - cosA * 3.0f, 0.0f);
    } else {
      shot->Translate(position.x - sinA * 3.0f, position.y + cosA * 3.0f, 0.0f);
    }
    shot->SetVelocity(cosA * vx0 - sinA * vy0, sinA * vx0 + cosA * vy0);
    Launch(shot);
    a += step;
  }
}

void MoverShooter::Launch(MoverBullet* bullet) const {
  if (!world || !world->CreateMoverBullet(bullet)) delete bullet;
}

}  // namespace vorlith
