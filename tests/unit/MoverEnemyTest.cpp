#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// Ages at which the enemies fired, over `frames` updates of each.
std::vector<int> FiringAges(SmallStage& stage, const std::vector<MoverEnemy*>& enemies,
                            int frames) {
  std::vector<int> ages;
  for (int i = 0; i < frames; ++i) {
    for (MoverEnemy* enemy : enemies) {
      const int before = stage.CountBullets(), age = enemy->GetAge();
      enemy->Update();
      if (stage.CountBullets() > before) ages.push_back(age);
    }
  }
  return ages;
}

TEST(MoverEnemyTest, FiringRhythmCountsFromFireStartAlsoBackwardsAndSharesLimitedVolleys) {
  SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 50, 15, -1, 0, 0);
  MoverEnemy* one = stage.PlaceEnemy(20, -5);
  MoverEnemy* two = stage.PlaceEnemy(80, -5);
  one->SetShot(&bullet, 0, 1, -1);
  EXPECT_EQ(FiringAges(stage, {one}, 61), (std::vector<int>{5, 20, 35, 50}));

  bullet.SetFire(0, 0, 2, 3, 0, 0);  // three volleys for both together
  two->SetShot(&bullet, 0, 1, -1);
  EXPECT_EQ(FiringAges(stage, {one, two}, 10), (std::vector<int>{0, 62, 2}));
  EXPECT_EQ(bullet.GetShotsLeft(), 0);
  bullet.SetFire(0, 0, 0, -1, 0, 0);  // an interval of 0 never fires
  EXPECT_TRUE(FiringAges(stage, {one}, 3).empty());
}

TEST(MoverEnemyTest, AKilledEnemyFiresFirstAgesScoresOnceAndIsNoLongerDrawn) {
  SmallStage stage;
  stage.AddShip(50, 90);
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverEnemy* enemy = stage.PlaceEnemy(50, 50);
  enemy->SetShot(&bullet, 0, 1, -1);
  enemy->SetScore(100);
  MoverEnemy* waiting = stage.PlaceEnemy(50, 50, 3);  // timer not 0: not hit-testable
  waiting->SetTimer(9999);
  stage.PlaceBullet(50, 50, 1);
  enemy->Draw();
  enemy->Update();
  waiting->Update();
  EXPECT_EQ(std::tuple(enemy->IsDead(), stage.CountBullets(), enemy->GetAge(), waiting->GetHp()),
            std::tuple(true, 2, 1, 3));
  EXPECT_EQ(std::tuple(stage.manager->GetKillCount(), stage.Counts().killedEnemies),
            std::tuple(1, 1));
  EXPECT_EQ(stage.manager->TakeScore(), 100);
  enemy->Update();
  enemy->Draw();
  EXPECT_EQ(std::tuple(stage.manager->TakeScore(), enemy->GetAge()), std::tuple(0, 1));
  EXPECT_EQ(stage.Counts().visibleEnemies, 1);
}

// Leaving the field is no kill and the dead linger 101 updates: both show in the traces; here
// an enemy that left the field moves no more.
TEST(MoverEnemyTest, AnEnemyOutOfTheFieldStopsAndCopiesStartDownwardOrDropOut) {
  SmallStage stage;
  MoverEnemy* left = stage.PlaceEnemy(30, 110.5f);
  left->SetMotion(1, 0, 0, 0, 0, 1);
  left->Update();
  left->Move();
  EXPECT_EQ(std::tuple(left->IsDead(), left->GetPosition().y), std::tuple(true, 110.5f));
  MoverEnemy noShip, copy, late;
  for (MoverEnemy* enemy : {&noShip, &copy, &late}) stage.Join(*enemy);
  noShip.SetMotion(1, 0, 0, 0, 0, 0);
  noShip.Init();
  EXPECT_TRUE(testkit::Flies(&noShip, 0, 1));
  MoverMyShip* ship = stage.AddShip(50, 90, 1);
  copy.SetMotion(2, 0.05f, 0, 0, 0, 0);
  copy.SetPosition(30, -10, 0);
  copy.Init();
  copy.Move();
  EXPECT_FALSE(copy.IsFinished());
  EXPECT_TRUE(testkit::At(&copy, 30, -8.95f));
  ship->Damage(1);
  ship->Update();
  late.Init();
  EXPECT_TRUE(late.IsFinished());
}

}  // namespace
}  // namespace vorlith
