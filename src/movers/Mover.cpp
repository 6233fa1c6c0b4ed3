#include "movers/Mover.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "graphics/Model.h"
#include "movers/MoverMyShip.h"
#include "movers/MoverWorld.h"

namespace vorlith {

std::int32_t Mover::Truncate(float value) {
  if (!(value > -2147483649.0f && value < 2147483648.0f)) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

void Mover::Draw() const {
  DrawModel(0.0f, 0.0f, 0.0f);
}

void Mover::Translate(float dx, float dy, float dz) {
  position.x += dx;
  position.y += dy;
  position.z += dz;
}

void Mover::SetHp(std::int32_t n) {
  hp = n;
  hpMax = n;
}

void Mover::Damage(std::int32_t n) {
  hp -= n;
  if (hp < 0) hp = 0;
}

void Mover::Heal(std::int32_t n) {
  hp += n;
  if (hp > hpMax) hp = hpMax;
}

void Mover::RaiseHpMax(std::int32_t n) {
  hpMax += n;
  Heal(n);
}

void Mover::SetMotion(std::int32_t type, float p1, float p2, float p3, float p4, float p5) {
  motionType = type;
  motionParam[0] = p1;
  motionParam[1] = p2;
  motionParam[2] = p3;
  motionParam[3] = p4;
  motionParam[4] = p5;
}

bool Mover::InOuterField() const {
  const int margin = (OUTER_WIDTH - FIELD_WIDTH) / 2;
  const float low = static_cast<float>(-margin);
  const float highX = static_cast<float>(FIELD_WIDTH + margin);
  const float highY = static_cast<float>(FIELD_HEIGHT + margin);
  return low <= position.x && position.x <= highX && low <= position.y && position.y <= highY;
}

bool Mover::Contains(const Vec3& point) const {
  const float half = static_cast<float>(size / 2);
  return position.x - half <= point.x && point.x <= position.x + half &&
         position.y - half <= point.y && point.y <= position.y + half;
}

void Mover::CountDownPopup() {
  popupShown = popupFrames > 0;
  if (popupShown) popupFrames -= 1;
}

void Mover::DrawPopup() const {
  if (!popupShown) return;
  char number[16];
  const char* text = popupText;
  if (!text) {
    std::snprintf(number, sizeof number, "%d", popupNumber);
    text = number;
  }
  if (world) world->DrawTextAt(text, position.x, position.y, position.z, popupColor);
}

void Mover::ShowPopupNumber(std::int32_t number, std::uint32_t colour) {
  popupFrames = kPopupFrames;
  popupNumber = number;
  popupColor = colour;
}

void Mover::ShowPopupText(const char* text, std::uint32_t colour) {
  popupFrames = kPopupFrames;
  popupText = text;
  popupColor = colour;
}

void Mover::DrawModel(float rotX, float rotY, float rotZ) const {
  if (model) model->DrawAt(position.x, position.y, position.z, rotX, rotY, rotZ, 1.0f);
}

MoverMyShip* Mover::PlayerShip() const {
  if (!world) return nullptr;
  return world->GetShipSlots()[0];
}

void Mover::PlaySound(int slot) {
  if (world) world->PlaySound(slot);
}

void Mover::StartMotion() {
  float heading = owner ? owner->angle : 180.0f;
  switch (motionType) {
    case 1:
    case 2:
      motionParam[3] = std::sin(heading * kDegToRad) * speed;
      motionParam[4] = -std::cos(heading * kDegToRad) * speed;
      break;
    case 3:
    case 4:
      AimAtShip(heading);
      break;
    default:
      break;
  }
  if (owner) {
    position.x += std::sin(heading * kDegToRad) * 3.0f;
    position.y -= std::cos(heading * kDegToRad) * 3.0f;
  }
}

// Without an owner or without a ship to aim at, the velocity stays as it was.
void Mover::AimAtShip(float& heading) {
  const Mover* ship = PlayerShip();
  if (!owner || !ship) return;
  const float dx = ship->position.x - owner->position.x;
  const float dy = ship->position.y - owner->position.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0f) return;
  motionParam[3] = dx / length * speed;
  motionParam[4] = dy / length * speed;
  heading = std::acos(dx / length) * kRadToDeg + 90.0f;
}

void Mover::RunMotion(std::int32_t type) {
  switch (type) {
    case 1:
    case 3:
      MoveStraight();
      break;
    case 2:
      MoveAccelerating();
      break;
    case 4:
      MoveHoming();
      break;
    case 5:
      MoveEllipse();
      break;
    case 6:
      MoveHyperbola();
      break;
    case 7:
      MoveFigure(1.0f, 3.0f);
      break;
    case 8:
      MoveFigure(2.0f, 3.0f);
      break;
    case 9:
      MoveInvolute();
      break;
    default:
      break;
  }
}

void Mover::MoveStraight() {
  position.x += motionParam[3];
  position.y += motionParam[4];
}

void Mover::MoveAccelerating() {
  float vx = motionParam[3];
  float vy = motionParam[4];
  if (speed != 0.0f) {
    vx /= speed;
    vy /= speed;
  }
  speed += motionParam[0];
  motionParam[3] = vx * speed;
  motionParam[4] = vy * speed;
  MoveStraight();
}

// Without a ship to follow, the velocity stays as it was.
void Mover::MoveHoming() {
  const Mover* ship = PlayerShip();
  if (ship) {
    const float dx = ship->position.x - position.x;
    const float dy = ship->position.y - position.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length != 0.0f) {
      motionParam[3] = dx / length * speed;
      motionParam[4] = dy / length * speed;
    }
  }
  MoveStraight();
}

void Mover::MoveEllipse() {
  const float t = motionParam[4] * kDegToRad;
  position.x = motionParam[0] + motionParam[2] * std::cos(t);
  position.y = motionParam[1] + motionParam[3] * std::sin(t);
  motionParam[4] += speed;
}

void Mover::MoveHyperbola() {
  if (Truncate(motionParam[4]) % 180 == 90) motionParam[4] -= 179.0f;
  const float k = std::sqrt((motionParam[3] - motionParam[2]) * (motionParam[3] + motionParam[2]));
  const float t = motionParam[4] * kDegToRad;
  position.x = motionParam[0] + motionParam[2] / std::cos(t);
  position.y = motionParam[1] + k * std::tan(t);
  motionParam[4] += speed;
}

void Mover::MoveFigure(float xFactor, float yFactor) {
  const float t = motionParam[4];
  position.x = motionParam[0] + motionParam[2] * std::sin(xFactor * t * kDegToRad);
  position.y = motionParam[1] + motionParam[3] * std::sin(yFactor * t * kDegToRad);
  motionParam[4] += speed;
}

void Mover::MoveInvolute() {
  const float r = motionParam[4] * kDegToRad;
  position.x = motionParam[0] + motionParam[2] * (std::cos(r) + r * std::sin(r));
  position.y = motionParam[1] + motionParam[3] * (std::sin(r) - r * std::cos(r));
  motionParam[4] += speed;
}

}  // namespace vorlith
