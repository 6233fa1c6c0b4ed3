#include <gtest/gtest.h>

#include <vector>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"
#include "movers/MoverMyShip.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

TEST(MoverMyShipTest, StepsThatWouldLeaveTheFieldAreDroppedPerAxis) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(99.5f, 50);
  stage.pad.right = stage.pad.up = 1;
  ship->Move();
  EXPECT_FLOAT_EQ(ship->GetPosition().x, 99.5f);
  EXPECT_FLOAT_EQ(ship->GetPosition().y, 49.0f);
  stage.pad.right = 0;
  stage.pad.left = stage.pad.down = 1;  // up and down cancel
  ship->SetPosition(1, 100, 0);
  ship->Move();
  ship->Move();
  EXPECT_FLOAT_EQ(ship->GetPosition().x, 0.0f);  // may stand exactly on the edge
  EXPECT_FLOAT_EQ(ship->GetPosition().y, 100.0f);
}

// Frames (counted from 0) in which a volley leaves; the shots stand still, clear of the ship.
std::vector<int> VolleyFrames(SmallStage& stage, int frames) {
  std::vector<int> volleys;
  for (int frame = 0; frame < frames; ++frame) {
    const int before = stage.CountBullets();
    stage.ship->Update();
    if (stage.CountBullets() > before) volleys.push_back(frame);
  }
  return volleys;
}

TEST(MoverMyShipTest, HeldShotFiresEveryIntervalPlusOneFrames) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  MoverBullet bullet;
  bullet.SetMotion(1, 0, 0, 0, 0, 0);
  ship->SetShotTemplate(&bullet);
  stage.pad.buttons[0] = 1;
  EXPECT_EQ(VolleyFrames(stage, 19), (std::vector<int>{0, 9, 18}));

  stage.pad.buttons[0] = 0;  // released: the count freezes
  const int frozen = ship->GetFireCounter();
  ship->Update();
  EXPECT_EQ(ship->GetFireCounter(), frozen);

  for (int i = 0; i < 7; ++i) ship->ShortenInterval(1);
  EXPECT_EQ(ship->GetShotInterval(), 1);
  ship->ShortenInterval(1);
  EXPECT_EQ(ship->GetShotInterval(), 1);
  stage.pad.buttons[0] = 1;
  while (ship->GetFireCounter() != 0) ship->Update();
  EXPECT_EQ(VolleyFrames(stage, 6), (std::vector<int>{0, 2, 4}));

  MoverMyShip other(&stage.pad);
  for (int i = 0; i < 2; ++i) other.ShortenInterval(1);
  other.ShortenInterval(5);  // 6 - 5 = 1 < 2
  EXPECT_EQ(other.GetShotInterval(), 1);
}

TEST(MoverMyShipTest, NoWeaponOrNoButtonFiresNothing) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  stage.pad.buttons[0] = 1;
  ship->Update();
  EXPECT_EQ(stage.CountBullets(), 0);
  EXPECT_EQ(ship->GetFireCounter(), 0);
}

TEST(MoverMyShipTest, BulletsAndEnemiesHurtWithoutFloorAndTheLastPointCounts) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50, 3);
  MoverBullet* bullet = stage.PlaceBullet(52, 48, 5);
  stage.manager->UpdateFrame();
  EXPECT_EQ(ship->GetHp(), -2);
  EXPECT_TRUE(ship->IsFinished());
  EXPECT_EQ(bullet->GetHp(), 0);
  EXPECT_EQ(stage.manager->TakeScore(), 1);  // the ship's own point, before the flag
  ship->Heal(50);
  stage.manager->UpdateFrame();
  EXPECT_TRUE(ship->IsFinished());
}

TEST(MoverMyShipTest, EnemyContactCostsFiveUntilTheDeadEnemyCountsDown) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50);
  stage.PlaceEnemy(51, 51, 1);
  stage.manager->UpdateFrame();  // the enemy dies in this frame, its timer still 0
  stage.manager->UpdateFrame();
  stage.manager->UpdateFrame();
  EXPECT_EQ(ship->GetHp(), 90);

  MoverEnemy* tough = stage.PlaceEnemy(50, 49, 100);
  for (int i = 0; i < 3; ++i) stage.manager->UpdateFrame();
  EXPECT_EQ(ship->GetHp(), 75);
  EXPECT_EQ(tough->GetHp(), 97);
}

TEST(MoverMyShipTest, TouchingABossHurtsOnlyTheBoss) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50);
  MoverBoss boss;
  boss.SetHp(10);
  boss.SetPosition(52, 52, 0);
  boss.SetTimer(0);
  stage.manager->CreateMoverBoss(&boss);
  ship->Update();
  EXPECT_EQ(boss.GetHp(), 9);
  EXPECT_EQ(ship->GetHp(), 100);
  boss.SetTimer(5);
  ship->Update();
  EXPECT_EQ(boss.GetHp(), 9);
}

TEST(MoverMyShipTest, GaugesGrowUpFromY380AndStayAfterTheEnd) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50, 100);
  ASSERT_NE(ship->GetHpBar(), nullptr);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(0).y, 380.0f);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(1).y, 280.0f);
  EXPECT_FLOAT_EQ(ship->GetHpBar()->GetPoint(1).x, 440.0f);
  ship->Damage(30);
  ship->RaiseHpMax(20);
  ASSERT_TRUE(stage.device.BeginScene());
  ship->Draw();
  EXPECT_FLOAT_EQ(ship->GetHpBar()->GetPoint(1).y, 290.0f);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(1).y, 260.0f);
}

}  // namespace
}  // namespace vorlith
