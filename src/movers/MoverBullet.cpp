#include "movers/MoverBullet.h"

#include "movers/MoverWorld.h"

namespace vorlith {

void MoverBullet::SetFire(std::int32_t pattern, std::int32_t start, std::int32_t interval,
                          std::int32_t shots, float newWays, float step) {
  firePattern = pattern;
  fireStart = start;
  fireInterval = interval;
  shotsLeft = shots;
  ways = newWays;
  spreadStep = step;
}

void MoverBullet::CountShot() {
  if (shotsLeft >= 1) shotsLeft -= 1;
}

void MoverBullet::SetVelocity(float vx, float vy) {
  motionParam[3] = vx;
  motionParam[4] = vy;
}

void MoverBullet::Init() {
  StartMotion();
}

void MoverBullet::Move() {
  if (finished) return;
  if (!InOuterField()) {
    finished = true;
    return;
  }
  if (motionType >= 1 && motionType <= 4) RunMotion(motionType);
}

void MoverBullet::Update() {
  if (hp <= 0) finished = true;
}

void MoverBullet::Draw() const {
  if (finished) return;
  DrawModel(0.0f, 0.0f, 0.0f);
  if (world) world->CountDrawnBullet();
}

}  // namespace vorlith
