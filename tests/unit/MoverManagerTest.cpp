#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// A manager with the ship and one boss registered (far in the future, or at `bossTime`).
struct SpawnStage : SmallStage {
  MoverBoss* boss = new MoverBoss();
  explicit SpawnStage(int bossTime = 1000000) {
    boss->SetShot(nullptr, bossTime, 1, 1);
    manager->AddBoss(boss);
    AddShip(50, 90);
  }
  MoverEnemy* AddEnemyTemplate(int start, int interval, int count) {
    auto* enemy = new MoverEnemy();
    enemy->SetShot(nullptr, start, interval, count);
    manager->AddEnemyPrototype(enemy);
    return enemy;
  }
  MoverItem* AddItemTemplate(std::vector<int> frames) {
    auto* item = new MoverItem();
    for (int frame : frames) item->AddSpawnFrame(frame);
    manager->AddItemPrototype(item);
    return item;
  }
  // Stage times at which enemies or items came into play, over `frames` frames.
  std::vector<int> SpawnTimes(int frames) {
    std::vector<int> times;
    for (int i = 0; i < frames; ++i) {
      const int time = manager->GetStageTime();
      const std::size_t before = Enemies().size() + Items().size();
      manager->UpdateFrame(pad);
      if (Enemies().size() + Items().size() > before) times.push_back(time);
    }
    return times;
  }
};

// Stage 1's own rhythms, item frames and boss time show in the committed replays' traces;
// here a start that is a whole number of intervals ahead of the stage time.
TEST(MoverManagerTest, EnemiesSpawnOnTheirRhythmAndLimitedAppearancesAreCounted) {
  SpawnStage early;
  early.AddEnemyTemplate(200, 100, -1);
  EXPECT_EQ(early.SpawnTimes(201), (std::vector<int>{0, 100, 200}));
  EXPECT_EQ(early.Enemies()[0]->GetTimer(), 0);

  SpawnStage stage;  // limited appearances are counted on the template, also when refused
  MoverEnemy* three = stage.AddEnemyTemplate(0, 1, 3);
  MoverEnemy* none = stage.AddEnemyTemplate(0, 1, 0);
  MoverEnemy* zeroInterval = stage.AddEnemyTemplate(0, 0, -1);
  stage.SpawnTimes(10);
  EXPECT_EQ(std::tuple(stage.Enemies().size(), three->GetAppearCount(), none->GetAppearCount(),
                       zeroInterval->GetAppearCount()),
            std::tuple(3u, 0, 0, -1));
  for (int i = 3; i < MoverManager::kEnemySlots; ++i) stage.PlaceEnemy(50, 50, 1000);
  MoverEnemy* refused = stage.AddEnemyTemplate(0, 1, 2);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(refused->GetAppearCount(), stage.dialogs.shown.size()), std::tuple(1, 1u));
}

TEST(MoverManagerTest, NoEnemiesWithoutABossOrAfterTheFirstBossFallsButItemsGoOn) {
  SmallStage bossless;
  bossless.AddShip(50, 90);
  auto* enemy = new MoverEnemy();
  enemy->SetShot(nullptr, 0, 1, -1);
  bossless.manager->AddEnemyPrototype(enemy);
  bossless.manager->UpdateFrame(bossless.pad);
  EXPECT_TRUE(bossless.Enemies().empty());

  SpawnStage stage;
  stage.AddEnemyTemplate(0, 1, -1);
  stage.AddItemTemplate({1});
  stage.AddItemTemplate({});  // no frames: never spawns
  EXPECT_EQ(stage.SpawnTimes(1), std::vector<int>{0});
  stage.boss->Damage(1);
  stage.boss->Update();
  EXPECT_EQ(stage.SpawnTimes(1), std::vector<int>{1});
  EXPECT_EQ(std::tuple(stage.Enemies().size(), stage.Items().size()), std::tuple(1u, 1u));
}

// Points made after the ship is finished are lost: that shows in the committed replays'
// traces; here, without a ship none arrive either.
TEST(MoverManagerTest, FullKindsAreReportedFreedSlotsReusedAndNoShipTakesNoPoints) {
  SmallStage stage;
  stage.manager->AddScore(5);
  EXPECT_EQ(stage.manager->TakeScore(), 0);
  MoverEnemy* enemies[MoverManager::kEnemySlots];
  for (MoverEnemy*& enemy : enemies) enemy = stage.PlaceEnemy(50, 50);
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
  for (int i = 0; i <= MoverManager::kShipSlots; ++i) {
    auto* ship = new MoverMyShip();
    if (!stage.manager->CreateMoverMyShip(ship)) delete ship;
  }
  const std::vector<testkit::Message> expected = {{"Error", "MoverManager::CreateMoverEnemy()"},
                                                  {"Error", "MoverManager::CreateMoverLine()"},
                                                  {"Error", "MoverManager::CreateMoverItem()"},
                                                  {"Error", "MoverManager::CreateMoverBoss()"},
                                                  {"Error", "MoverManager::CreateMoverMyShip()"}};
  EXPECT_EQ(stage.dialogs.shown, expected);
  auto* spawning = new MoverItem();  // its copy is refused, and freed (LeakSanitizer)
  spawning->AddSpawnFrame(0);
  stage.manager->AddItemPrototype(spawning);

  enemies[7]->Damage(1);
  enemies[30]->Damage(1);
  for (int i = 0; i < 103; ++i) stage.manager->UpdateFrame(stage.pad);  // both die and are removed
  EXPECT_EQ(std::tuple(stage.Enemies().size(), stage.dialogs.shown.size()),
            std::tuple(MoverManager::kEnemySlots - 2u, expected.size() + 1));
  auto* next = new MoverEnemy();
  stage.manager->CreateMoverEnemy(next);
  EXPECT_EQ(stage.manager->GetEnemySlots()[7], next);
}

}  // namespace
}  // namespace vorlith
