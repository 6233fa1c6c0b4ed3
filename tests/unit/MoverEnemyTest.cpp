#include <gtest/gtest.h>

#include <vector>

#include "StageTestKit.h"
#include "movers/MoverEnemy.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// Ages at which the enemy fired, over `frames` updates.
std::vector<int> FiringAges(SmallStage& stage, MoverEnemy* enemy, int frames) {
  std::vector<int> ages;
  for (int i = 0; i < frames; ++i) {
    const int before = stage.CountBullets();
    const int age = enemy->GetAge();
    enemy->Update();
    if (stage.CountBullets() > before) ages.push_back(age);
  }
  return ages;
}

TEST(MoverEnemyTest, FiringRhythmCountsFromFireStartAlsoBackwards) {
  SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 50, 15, -1, 0, 0);
  MoverEnemy* enemy = stage.PlaceEnemy(50, -5, 1);
  enemy->SetShot(&bullet, 0, 1, -1);
  EXPECT_EQ(FiringAges(stage, enemy, 61), (std::vector<int>{5, 20, 35, 50}));
}

TEST(MoverEnemyTest, LimitedVolleysAreSharedByEveryShooterOfTheTemplate) {
  SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 0, 2, 3, 0, 0);
  MoverEnemy* one = stage.PlaceEnemy(20, -5, 1);
  MoverEnemy* two = stage.PlaceEnemy(80, -5, 1);
  one->SetShot(&bullet, 0, 1, -1);
  two->SetShot(&bullet, 0, 1, -1);
  for (int i = 0; i < 10; ++i) {
    one->Update();
    two->Update();
  }
  EXPECT_EQ(stage.CountBullets(), 3);
  EXPECT_EQ(bullet.GetShotsLeft(), 0);
}

TEST(MoverEnemyTest, UnconfiguredOrZeroIntervalTemplatesNeverFire) {
  SmallStage stage;
  MoverBullet unconfigured;
  MoverBullet zeroInterval;
  zeroInterval.SetFire(0, 0, 0, -1, 0, 0);
  MoverEnemy* enemy = stage.PlaceEnemy(50, 10, 1);
  enemy->SetShot(&unconfigured, 0, 1, -1);
  FiringAges(stage, enemy, 5);
  enemy->SetShot(&zeroInterval, 0, 1, -1);
  FiringAges(stage, enemy, 5);
  EXPECT_EQ(stage.CountBullets(), 0);
  MoverEnemy fresh;
  EXPECT_EQ(fresh.GetShot(), nullptr);
  EXPECT_EQ(fresh.GetAppearCount(), 0);
}

TEST(MoverEnemyTest, KilledEnemyFiresFirstAgesAndScoresOnce) {
  SmallStage stage;
  stage.AddShip(50, 90);
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverEnemy* enemy = stage.PlaceEnemy(50, 50, 1);
  enemy->SetShot(&bullet, 0, 1, -1);
  enemy->SetScore(100);
  stage.PlaceBullet(50, 50, 1);
  const int killed = MoverEnemy::GetKilledEnemyCount();
  enemy->Update();
  EXPECT_TRUE(enemy->IsDead());
  EXPECT_EQ(stage.CountBullets(), 2);
  EXPECT_EQ(enemy->GetAge(), 1);
  EXPECT_EQ(MoverEnemy::GetKilledEnemyCount(), killed + 1);
  EXPECT_EQ(stage.manager->GetKillCount(), 1);
  EXPECT_EQ(stage.manager->TakeScore(), 100);
  EXPECT_EQ(enemy->GetPopupNumber(), 100);
  enemy->Update();
  EXPECT_EQ(stage.manager->TakeScore(), 0);
  EXPECT_EQ(enemy->GetAge(), 1);
}

TEST(MoverEnemyTest, LeavingTheFieldIsNoKillAndTheDeadLingerFor101Updates) {
  SmallStage stage;
  stage.AddShip(50, 90);
  MoverEnemy* enemy = stage.PlaceEnemy(30, 110.5f, 1);
  const int killed = MoverEnemy::GetKilledEnemyCount();
  enemy->Update();
  EXPECT_TRUE(enemy->IsDead());
  EXPECT_EQ(MoverEnemy::GetKilledEnemyCount(), killed);
  EXPECT_EQ(stage.manager->TakeScore(), 0);
  enemy->Move();
  EXPECT_FLOAT_EQ(enemy->GetPosition().y, 110.5f);
  for (int i = 0; i < 100; ++i) enemy->Update();
  EXPECT_FALSE(enemy->IsFinished());
  enemy->Update();
  EXPECT_TRUE(enemy->IsFinished());
}

TEST(MoverEnemyTest, HitsAreTestedOnlyWhileTheTimerIsZero) {
  SmallStage stage;
  MoverEnemy* enemy = stage.PlaceEnemy(50, 50, 3);
  enemy->SetTimer(9999);
  stage.PlaceBullet(50, 50, 1);
  enemy->Update();
  EXPECT_EQ(enemy->GetHp(), 3);
}

TEST(MoverEnemyTest, CopiesStartDownwardOrDropOutWhenTheShipIsFinished) {
  SmallStage stage;
  MoverEnemy noShip;  // without a ship: starts as if the ship were absent
  noShip.SetMotion(1, 0, 0, 0, 0, 0);
  noShip.Init();
  EXPECT_NEAR(noShip.GetMotionParam(4), 1.0f, 1e-6);

  MoverMyShip* ship = stage.AddShip(50, 90, 1);
  MoverEnemy copy;
  copy.SetMotion(2, 0.05f, 0, 0, 0, 0);
  copy.SetPosition(30, -10, 0);
  copy.Init();
  EXPECT_FALSE(copy.IsFinished());
  copy.Move();
  EXPECT_NEAR(copy.GetPosition().y, -8.95f, 1e-5);

  ship->Damage(1);
  ship->Update();
  MoverEnemy late;
  late.Init();
  EXPECT_TRUE(late.IsFinished());
}

TEST(MoverEnemyTest, DrawsWhileAliveAndItsPopupAfterwards) {
  SmallStage stage;
  MoverEnemy::ResetVisibleEnemyCount();
  MoverEnemy* enemy = stage.PlaceEnemy(50, 50, 1);
  ASSERT_TRUE(stage.device.BeginScene());
  enemy->Draw();
  enemy->Damage(1);
  enemy->Update();
  enemy->Draw();
  EXPECT_EQ(MoverEnemy::GetVisibleEnemyCount(), 1);
  ASSERT_EQ(stage.device.GetTexts().size(), 1u);
  // Labels are centred on the field position mapped to the screen.
  const auto& label = stage.device.GetTexts()[0];
  int width = 0, height = 0;
  stage.device.MeasureText(label.font, "0", width, height);
  EXPECT_EQ(label.x, 50 * 314 / 100 + 245 - width / 2);
  EXPECT_EQ(label.y, 50 * 314 / 100 + 100 - height / 2);
}

}  // namespace
}  // namespace vorlith
