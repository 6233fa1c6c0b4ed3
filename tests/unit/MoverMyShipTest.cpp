#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

TEST(MoverMyShipTest, StepsThatWouldLeaveTheFieldAreDroppedPerAxis) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(99.5f, 50);
  stage.pad.right = stage.pad.up = 1;
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 99.5f, 49));
  ship->SetPosition(99, 1, 0);
  ship->Move(stage.pad);
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 100, 0));  // may stand exactly on the edges
  stage.pad.right = 0;
  stage.pad.left = stage.pad.down = 1;  // up and down cancel
  ship->SetPosition(1, 100, 0);
  ship->Move(stage.pad);
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 0, 100));
}

// Held fire's rhythm (a volley every interval + 1 frames) and its count frozen while fire is
// let go show in the committed replays' traces; here the interval's floor.
TEST(MoverMyShipTest, TheShotIntervalShortensToOneAndNoFurther) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  MoverBullet bullet;
  ship->SetShotTemplate(&bullet);
  stage.pad.buttons[0] = 1;
  for (int i = 0; i < 8; ++i) ship->ShortenInterval(1);  // 8 down to 1, and no further
  std::vector<int> volleys;  // updates in which a volley leaves; the shots stand still
  for (int frame = 0; frame < 6; ++frame) {
    const int before = stage.CountBullets();
    ship->Update(stage.pad);
    if (stage.CountBullets() > before) volleys.push_back(frame);
  }
  EXPECT_EQ(volleys, (std::vector<int>{0, 2, 4}));
  MoverMyShip other;
  other.ShortenInterval(5);
  other.ShortenInterval(1);  // 3 - 1 = 2 is kept
  EXPECT_EQ(other.GetShotInterval(), 2);
  other.ShortenInterval(5);  // 2 - 5 < 2: the floor
  EXPECT_EQ(other.GetShotInterval(), 1);
}

TEST(MoverMyShipTest, BulletsAndEnemiesHurtWithoutFloorTheLastPointCountsAndBossesDoNot) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50);
  stage.PlaceEnemy(51, 51, 1);
  for (int i = 0; i < 3; ++i)
    stage.manager->UpdateFrame(stage.pad);  // dies in the first, timer still 0
  EXPECT_EQ(ship->GetHp(), 90);
  MoverEnemy* tough = stage.PlaceEnemy(50, 49, 100);
  for (int i = 0; i < 3; ++i) stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(ship->GetHp(), tough->GetHp()), std::tuple(75, 97));

  tough->SetPosition(0, 0, 0);
  ship->Damage(72);
  MoverBullet* bullet = stage.PlaceBullet(52, 48, 5);
  stage.manager->TakeScore();
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(ship->GetHp(), ship->IsFinished(), bullet->GetHp()),
            std::tuple(-2, true, 0));
  EXPECT_EQ(stage.manager->TakeScore(), 1);  // the ship's own point, before the flag

  SmallStage other;  // touching a boss in play hurts only the boss
  ship = other.AddShip(50, 50);
  MoverBoss boss;
  boss.SetHp(10);
  boss.SetPosition(52, 52, 0);
  boss.SetTimer(0);
  other.manager->CreateMoverBoss(&boss);
  ship->Update();
  EXPECT_EQ(std::tuple(boss.GetHp(), ship->GetHp()), std::tuple(9, 100));
  boss.SetTimer(5);
  ship->Update();
  EXPECT_EQ(boss.GetHp(), 9);
}

TEST(MoverMyShipTest, GaugesGrowUpFromY380AndStayAfterTheEnd) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50, 100);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(0).y, 380.0f);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(1).y, 280.0f);
  EXPECT_FLOAT_EQ(ship->GetHpBar()->GetPoint(1).x, 440.0f);
  ship->RaiseHpMax(20);
  ship->Damage(200);
  ship->Update();
  ASSERT_TRUE(ship->IsFinished());
  stage.device.BeginScene();
  ship->Draw();
  EXPECT_FLOAT_EQ(ship->GetHpBar()->GetPoint(1).y, 380.0f);
  EXPECT_FLOAT_EQ(ship->GetHpMaxBar()->GetPoint(1).y, 260.0f);
}

}  // namespace
}  // namespace vorlith
