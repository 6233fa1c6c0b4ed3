#include <gtest/gtest.h>

#include <vector>

#include "StageTestKit.h"
#include "stage/MoverManager.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

struct CountedBoss : MoverBoss {
  explicit CountedBoss(int* counter) : destroyed(counter) {}
  ~CountedBoss() override { *destroyed += 1; }
  int* destroyed;
};

// A manager with one boss registered (far in the future) so that enemies spawn.
struct SpawnStage : SmallStage {
  MoverBoss* boss = new MoverBoss();
  SpawnStage() {
    boss->SetShot(nullptr, 1000000, 1, 1);
    manager->AddBoss(boss);
    AddShip(50, 90);
  }
  MoverEnemy* AddEnemyTemplate(int start, int interval, int count) {
    auto* enemy = new MoverEnemy();
    enemy->SetPosition(50, -5, 0);
    enemy->SetShot(nullptr, start, interval, count);
    manager->AddEnemyPrototype(enemy);
    return enemy;
  }
  // Stage times at which the enemy count grew, over `frames` frames.
  std::vector<int> SpawnTimes(int frames) {
    std::vector<int> times;
    for (int i = 0; i < frames; ++i) {
      const int time = manager->GetStageTime();
      const int before = CountEnemies();
      manager->UpdateFrame();
      if (CountEnemies() > before) times.push_back(time);
    }
    return times;
  }
};

TEST(MoverManagerTest, EnemiesSpawnOnTheirRhythmAlsoForNegativeDifferences) {
  SpawnStage stage;
  stage.AddEnemyTemplate(50, 100, -1);
  EXPECT_EQ(stage.SpawnTimes(251), (std::vector<int>{50, 150, 250}));
  SpawnStage early;
  early.AddEnemyTemplate(200, 100, -1);
  EXPECT_EQ(early.SpawnTimes(201), (std::vector<int>{0, 100, 200}));
}

TEST(MoverManagerTest, LimitedAppearancesAreCountedOnTheTemplate) {
  SpawnStage stage;
  MoverEnemy* three = stage.AddEnemyTemplate(0, 1, 3);
  MoverEnemy* none = stage.AddEnemyTemplate(0, 1, 0);
  MoverEnemy* zeroInterval = stage.AddEnemyTemplate(0, 0, -1);
  for (int i = 0; i < 10; ++i) stage.manager->UpdateFrame();
  EXPECT_EQ(stage.CountEnemies(), 3);
  EXPECT_EQ(three->GetAppearCount(), 0);
  EXPECT_EQ(none->GetAppearCount(), 0);
  EXPECT_EQ(zeroInterval->GetAppearCount(), -1);
}

TEST(MoverManagerTest, NoEnemiesWithoutABossOrAfterTheFirstBossIsDestroyed) {
  SmallStage bossless;
  bossless.AddShip(50, 90);
  auto* enemy = new MoverEnemy();
  enemy->SetShot(nullptr, 0, 1, -1);
  bossless.manager->AddEnemyPrototype(enemy);
  bossless.manager->UpdateFrame();
  EXPECT_EQ(bossless.CountEnemies(), 0);

  SpawnStage stage;
  stage.AddEnemyTemplate(0, 1, -1);
  auto* item = new MoverItem();
  item->AddSpawnFrame(1);
  stage.manager->AddItemPrototype(item);
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.CountEnemies(), 1);
  stage.boss->Damage(1);
  stage.boss->Update();
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.CountEnemies(), 1);
  EXPECT_EQ(stage.CountItems(), 1);
}

TEST(MoverManagerTest, ItemsSpawnAtEachListedFrameOnly) {
  SmallStage stage;
  auto* item = new MoverItem();
  item->SetPosition(50, 0, 0);
  for (int frame : {100, 150, 200}) item->AddSpawnFrame(frame);
  stage.manager->AddItemPrototype(item);
  stage.manager->AddItemPrototype(new MoverItem());  // no frames: never spawns
  std::vector<int> times;
  for (int i = 0; i < 260; ++i) {
    const int before = stage.CountItems();
    stage.manager->UpdateFrame();
    if (stage.CountItems() > before) times.push_back(stage.manager->GetStageTime() - 1);
  }
  EXPECT_EQ(times, (std::vector<int>{100, 150, 200}));
  EXPECT_EQ(stage.manager->GetItemSlots()[0]->GetTimer(), 0);
}

TEST(MoverManagerTest, BossEntersItsSlotWhenTheClockReachesItsTime) {
  SmallStage stage;
  auto* boss = new MoverBoss();
  boss->SetShot(nullptr, 5000, 10, 1);
  stage.manager->AddBoss(boss);
  for (int i = 0; i < 5000; ++i) stage.manager->UpdateFrame();
  EXPECT_EQ(stage.manager->GetBossSlots()[0], nullptr);
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.manager->GetBossSlots()[0], boss);
  EXPECT_EQ(boss->GetTimer(), 0);
  EXPECT_EQ(boss->GetAge(), 1);
}

TEST(MoverManagerTest, FullKindsAreReportedAndFreedSlotsReusedFromTheBottom) {
  SmallStage stage;
  MoverEnemy* enemies[MoverManager::kEnemySlots];
  for (MoverEnemy*& enemy : enemies) enemy = stage.PlaceEnemy(50, 50, 1);
  MoverEnemy extra;
  EXPECT_FALSE(stage.manager->CreateMoverEnemy(&extra));
  Mover line;
  for (int i = 0; i < MoverManager::kLineSlots; ++i) stage.manager->CreateMoverLine(new Mover());
  EXPECT_FALSE(stage.manager->CreateMoverLine(&line));
  MoverItem item;
  for (int i = 0; i < MoverManager::kItemSlots; ++i)
    stage.manager->CreateMoverItem(new MoverItem());
  EXPECT_FALSE(stage.manager->CreateMoverItem(&item));
  MoverBoss bosses[MoverManager::kBossSlots + 1];
  for (MoverBoss& boss : bosses) stage.manager->CreateMoverBoss(&boss);
  for (int i = 0; i < MoverManager::kShipSlots + 1; ++i) {
    auto* ship = new MoverMyShip(&stage.pad);
    if (!stage.manager->CreateMoverMyShip(ship)) delete ship;
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Error", "MoverManager::CreateMoverEnemy()"},
      {"Error", "MoverManager::CreateMoverLine()"},
      {"Error", "MoverManager::CreateMoverItem()"},
      {"Error", "MoverManager::CreateMoverBoss()"},
      {"Error", "MoverManager::CreateMoverMyShip()"}};
  EXPECT_EQ(stage.dialogs.shown, expected);

  enemies[7]->Damage(1);
  enemies[30]->Damage(1);
  stage.manager->UpdateFrame();  // both die
  for (int i = 0; i < 102; ++i) stage.manager->UpdateFrame();
  EXPECT_EQ(stage.CountEnemies(), MoverManager::kEnemySlots - 2);
  auto* next = new MoverEnemy();
  stage.manager->CreateMoverEnemy(next);
  EXPECT_EQ(stage.manager->GetEnemySlots()[7], next);
}

TEST(MoverManagerTest, RefusedSpawnStillUsesUpAnAppearance) {
  SpawnStage stage;
  for (int i = 0; i < MoverManager::kEnemySlots; ++i) stage.PlaceEnemy(50, 50, 1000);
  MoverEnemy* limited = stage.AddEnemyTemplate(0, 1, 2);
  stage.manager->UpdateFrame();
  EXPECT_EQ(limited->GetAppearCount(), 1);
  EXPECT_EQ(stage.dialogs.shown.size(), 1u);
}

TEST(MoverManagerTest, UpdateOrderDecidesWhenFinishedMoversLeave) {
  SmallStage stage;
  stage.AddShip(50, 90);
  // A bullet spent in this frame's update step is removed by the next frame's.
  MoverBullet* bullet = stage.PlaceBullet(20, 20);
  stage.PlaceEnemy(20, 20, 5);
  stage.manager->UpdateFrame();
  EXPECT_TRUE(bullet->IsFinished());
  EXPECT_EQ(stage.CountBullets(), 1);
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.CountBullets(), 0);
}

TEST(MoverManagerTest, DamageSweepHitsOnlyTheNamedKind) {
  SpawnStage stage;
  MoverEnemy* enemy = stage.PlaceEnemy(30, 30, 500);
  enemy->SetScore(100);
  MoverBullet* bullet = stage.PlaceBullet(70, 70);
  stage.manager->DamageAllOfKind(3);
  EXPECT_EQ(enemy->GetHp(), 500);
  stage.manager->DamageAllOfKind(MoverManager::kDamageEnemies);
  EXPECT_EQ(enemy->GetHp(), 0);
  EXPECT_EQ(bullet->GetHp(), 1);
  stage.manager->DamageAllOfKind(MoverManager::kDamageBullets);
  EXPECT_EQ(bullet->GetHp(), 0);
  stage.manager->UpdateFrame();
  EXPECT_TRUE(enemy->IsDead());
  EXPECT_EQ(stage.manager->TakeScore(), 100);  // swept enemies score like any other
  EXPECT_EQ(stage.manager->TakeScore(), 0);
}

TEST(MoverManagerTest, PointsArriveOnlyWhileTheShipIsInPlay) {
  SmallStage stage;
  stage.manager->AddScore(5);
  EXPECT_EQ(stage.manager->TakeScore(), 0);
  MoverMyShip* ship = stage.AddShip(50, 90, 1);
  stage.manager->AddScore(5);
  ship->Damage(1);
  ship->Update();  // finishing adds the ship's own point first
  stage.manager->AddScore(7);
  EXPECT_EQ(stage.manager->TakeScore(), 6);
}

TEST(MoverManagerTest, ClearingLeavesBossesToTheirListWhichDestroysEachOnce) {
  int destroyed = 0;
  {
    SmallStage stage;
    auto* boss = new CountedBoss(&destroyed);
    boss->SetShot(nullptr, 0, 1, 1);
    stage.manager->AddBoss(boss);
    stage.AddShip(50, 90);
    stage.manager->UpdateFrame();
    ASSERT_EQ(stage.manager->GetBossSlots()[0], boss);
    stage.manager->ClearMovers();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(stage.manager->GetShipSlots()[0], nullptr);
  }
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
}  // namespace vorlith
