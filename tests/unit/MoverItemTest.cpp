#include <gtest/gtest.h>

#include <string>

#include "StageTestKit.h"
#include "movers/MoverItem.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// An item of the given kind standing on the ship, picked up by one update.
MoverItem* PickUp(SmallStage& stage, int kind, float amount, MoverBullet* weapon = nullptr) {
  auto* item = new MoverItem();
  item->SetItem(kind, amount, 0, 0, 0);
  item->SetWeapon(weapon);
  item->SetPosition(stage.ship->GetPosition().x + 2, stage.ship->GetPosition().y, 0);
  item->Init();
  stage.manager->CreateMoverItem(item);
  item->Update();
  return item;
}

TEST(MoverItemTest, EveryKindActsOnTheShipWithItsPopup) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90, 100);
  ship->Damage(10);
  MoverItem* heal = PickUp(stage, kItemHeal, 30);
  EXPECT_EQ(ship->GetHp(), 100);
  EXPECT_EQ(heal->GetPopupNumber(), 30);
  EXPECT_EQ(heal->GetPopupColor(), 0xFF6464FFu);
  EXPECT_TRUE(heal->IsGone());

  MoverBullet laser;
  MoverItem* weapon = PickUp(stage, kItemWeapon, 0, &laser);
  EXPECT_EQ(ship->GetShotTemplate(), &laser);
  EXPECT_STREQ(weapon->GetPopupText(), "Weapon Change!");

  MoverItem* points = PickUp(stage, kItemScore, 250.7f);
  EXPECT_EQ(stage.manager->TakeScore(), 250);
  EXPECT_EQ(points->GetPopupColor(), 0xFFFFFF64u);

  MoverItem* hpMax = PickUp(stage, kItemHpMax, 10);
  EXPECT_EQ(ship->GetHpMax(), 110);
  EXPECT_EQ(ship->GetHp(), 110);
  EXPECT_STREQ(hpMax->GetPopupText(), "HP Max +1");

  MoverItem* ability = PickUp(stage, kItemShootAbility, 2.9f);
  EXPECT_EQ(ship->GetShotInterval(), 6);
  EXPECT_STREQ(ability->GetPopupText(), "Shoot Ability +1");

  for (int kind : {static_cast<int>(kItemNothing), 17}) {
    MoverItem* nothing = PickUp(stage, kind, 5);
    EXPECT_TRUE(nothing->IsGone());
    EXPECT_EQ(nothing->GetPopupFrames(), 0);
  }
  EXPECT_EQ(ship->GetHp(), 110);
  EXPECT_EQ(stage.manager->TakeScore(), 0);

  PickUp(stage, kItemWeapon, 0, nullptr);  // a null weapon: the ship stops firing
  stage.pad.buttons[0] = 1;
  ship->Update();
  EXPECT_EQ(stage.CountBullets(), 0);
}

TEST(MoverItemTest, NoPickUpWithoutAShipOrOutsideTheBox) {
  SmallStage stage;
  MoverItem loose;
  loose.SetPosition(50, 50, 0);
  loose.Init();
  loose.Update();
  EXPECT_FALSE(loose.IsGone());

  MoverMyShip* ship = stage.AddShip(50, 90, 100);
  loose.SetPosition(50, 87.5f, 0);
  loose.Update();
  EXPECT_FALSE(loose.IsGone());
  loose.SetTimer(5);  // not in play yet
  loose.SetPosition(50, 90, 0);
  loose.Update();
  EXPECT_FALSE(loose.IsGone());
  ship->Damage(100);  // a finished ship still picks up
  ship->Update();
  loose.SetTimer(0);
  loose.Update();
  EXPECT_TRUE(loose.IsGone());
}

TEST(MoverItemTest, DriftsDownAndLeavesPlayPastTheOuterField) {
  SmallStage stage;
  stage.AddShip(10, 10);
  MoverItem item;
  item.SetMotion(1, 0, 0, 0, 0, 0);
  item.SetPosition(80, -10, 0);
  item.Init();
  EXPECT_EQ(item.GetTimer(), 0);
  for (int i = 0; i < 100; ++i) item.Move();
  EXPECT_NEAR(item.GetPosition().y, 90.0f, 1e-3);
  for (int i = 0; i < 21; ++i) {
    item.Update();
    item.Move();
  }
  EXPECT_FALSE(item.IsGone());
  item.Update();
  item.Move();
  EXPECT_TRUE(item.IsGone());
  const float y = item.GetPosition().y;
  item.Move();
  EXPECT_FLOAT_EQ(item.GetPosition().y, y);
  for (int i = 0; i < 101; ++i) item.Update();
  EXPECT_TRUE(item.IsFinished());
}

TEST(MoverItemTest, GoneItemsStopSpinningButShowTheirPopup) {
  SmallStage stage;
  stage.AddShip(50, 50);
  ASSERT_TRUE(stage.device.BeginScene());
  MoverItem* item = PickUp(stage, kItemHeal, 5);
  EXPECT_FLOAT_EQ(item->GetSpin(), 0.0f);
  item->Draw();
  EXPECT_FLOAT_EQ(item->GetSpin(), 0.0f);
  ASSERT_EQ(stage.device.GetTexts().size(), 1u);
  EXPECT_EQ(stage.device.GetTexts()[0].text, "5");

  MoverItem spinning;
  spinning.Draw();
  spinning.Draw();
  EXPECT_FLOAT_EQ(spinning.GetSpin(), 10.0f);
}

}  // namespace
}  // namespace vorlith
