#include "movers/MoverItem.h"

#include "movers/MoverMyShip.h"
#include "movers/MoverWorld.h"

namespace vorlith {

void MoverItem::SetItem(std::int32_t newKind, float a, float b, float c, float d) {
  kind = newKind;
  itemParam[1] = a;
  itemParam[2] = b;
  itemParam[3] = c;
  itemParam[4] = d;
}

void MoverItem::Init() {
  timer = 0;
  StartMotion();
}

void MoverItem::Update() {
  if (gone) {
    timer -= 1;
    if (timer < -100) finished = true;
    return;
  }
  if (!InOuterField()) gone = true;
  if (timer == 0) TestPickUp();
  if (hp < 1) gone = true;
}

void MoverItem::TestPickUp() {
  MoverMyShip* ship = PlayerShip();
  if (!ship || !Contains(ship->GetPosition())) return;
  Damage(1);
  ApplyTo(ship);
}

void MoverItem::ApplyTo(MoverMyShip* ship) {
  const std::int32_t amount = Truncate(itemParam[1]);
  switch (kind) {
    case kItemHeal:
      ShowPopupNumber(amount, kHpColour);
      ship->Heal(amount);
      break;
    case kItemWeapon:
      ShowPopupText("Weapon Change!", kWhite);
      ship->SetShotTemplate(weapon);
      break;
    case kItemScore:
      ShowPopupNumber(amount, kScoreColour);
      if (world) world->AddScore(amount);
      break;
    case kItemHpMax:
      ShowPopupText("HP Max +1", kHpColour);
      ship->RaiseHpMax(amount);
      break;
    case kItemShootAbility:
      ShowPopupText("Shoot Ability +1", kWhite);
      ship->ShortenInterval(amount);
      break;
    default:
      break;
  }
}

void MoverItem::Move() {
  if (gone) return;
  if (motionType >= 1 && motionType <= 3) RunMotion(motionType);
}

void MoverItem::StepDrawnFrame() {
  if (!gone) {
    drawnSpin = spin;
    spin += 5.0f;
  }
  CountDownPopup();
}

void MoverItem::Draw() const {
  if (!gone) DrawModel(0.0f, drawnSpin, 0.0f);
  DrawPopup();
}

}  // namespace vorlith
