#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "StageTestKit.h"
#include "TestFiles.h"
#include "app/Hud.h"
#include "base/DataDirectory.h"
#include "graphics/TextFont.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

using CStageTest = testkit::StartedStage;

using testkit::StageRun;
using Shown = std::vector<std::tuple<std::string, int, int, std::uint32_t>>;

Shown Drawn(const FakeRenderDevice& device) {
  Shown shown;
  for (const auto& call : device.texts) shown.emplace_back(call.text, call.x, call.y, call.argb);
  return shown;
}

// A stage without a sound device fails to start and stays inert; entries refused on one that
// started are destroyed with every entry after them.
TEST_F(CStageTest, AStageWithoutSoundStaysInertAndRefusedEntriesAreDestroyedWithTheRest) {
  StageRun silent;
  silent.audio.faults->openDevice = true;
  EXPECT_FALSE(silent.stage->Init());
  silent.stage->Step(silent.pad);  // without a ship nothing runs, and nothing breaks
  silent.stage->MoveAll(silent.pad);
  silent.Draw();
  MoverEnemy* enemies[3] = {new MoverEnemy(), new MoverEnemy(), new MoverEnemy()};
  enemies[0]->SetModel(&model);
  enemies[2]->SetModel(&model);
  EXPECT_FALSE(stage->SetMoverEnemy(enemies, 3));  // LeakSanitizer checks the other two
  EXPECT_EQ(Manager().GetEnemyPrototypeCount(), 1u);
  MoverBullet* bullet = new MoverBullet();
  MoverItem* item = new MoverItem();
  MoverBoss* boss = new MoverBoss();
  EXPECT_FALSE(stage->SetMoverBullet(&bullet, 1));
  EXPECT_FALSE(stage->SetMoverItem(&item, 1));
  EXPECT_FALSE(stage->SetMoverBoss(&boss, 1));
  EXPECT_EQ(stage->GetBossMover(), nullptr);
  const std::string noModel = "モデルが登録されていない";
  const std::vector<testkit::Message> expected = {{"Error! CStage::SetMoverEnemy()", noModel},
                                                  {"Error! CStage::SetMoverBullet()", noModel},
                                                  {"Error! CStage::SetMoverItem()", noModel},
                                                  {"Error! CStage::SetMoverBoss()", noModel}};
  EXPECT_EQ(dialogs.shown, expected);

  Mover* lines[5] = {new Mover(), new Mover(), new Mover(), new Mover(), new Mover()};
  EXPECT_TRUE(stage->SetMoverLine(lines, 5));  // the fifth is refused and destroyed
  MoverMyShip* ships[4];
  for (MoverMyShip*& ship : ships) ship = new MoverMyShip();
  EXPECT_TRUE(stage->SetMoverMyShip(ships, 4));  // the fourth likewise
  EXPECT_EQ(std::tuple(Manager().GetLineSlots()[3], stage->GetMyShip(), dialogs.shown.size()),
            std::tuple(lines[3], ships[0], 6u));
  EXPECT_NE(ships[0]->GetHpBar(), nullptr);
}

TEST_F(CStageTest, BossDefeatSweepsTheFieldOnceAndItsPointsArriveInTheSameStep) {
  AddShip(50, 90);
  MoverBoss* boss = AddBoss(0);
  EXPECT_EQ(std::tuple(stage->GetBossMover(), Manager().GetBossSlots()[0]),
            std::tuple(boss, nullptr));  // registered, not yet in play
  stage->Step(pad);
  auto* enemy = new MoverEnemy();
  enemy->SetHp(1000);
  enemy->SetScore(100);
  Manager().CreateMoverEnemy(enemy);
  auto* bullet = new MoverBullet();
  Manager().CreateMoverBullet(bullet);
  Manager().DamageAllOfKind(3);  // no such kind
  EXPECT_EQ(std::tuple(enemy->GetHp(), bullet->GetHp()), std::tuple(1000, 1));
  boss->Damage(10);
  stage->Step(pad);
  EXPECT_EQ(std::tuple(enemy->GetHp(), bullet->GetHp(), stage->TakeScore()),
            std::tuple(0, 0, 100000));
  stage->Step(pad);  // the swept enemy dies with its score
  EXPECT_EQ(stage->TakeScore(), 100);
  auto* late = new MoverBullet();
  Manager().CreateMoverBullet(late);
  stage->Step(pad);
  EXPECT_EQ(late->GetHp(), 1);  // fired after the sweep: flies on
}

TEST_F(CStageTest, ResultOverlaysShowTheirTextsAndTurnHeldKeysIntoRequests) {
  MoverMyShip* ship = AddShip(50, 90, 1);
  MoverBoss* boss = AddBoss(0);
  pad.buttons[2] = 1;
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kNone);
  EXPECT_EQ(Drawn(device), (Shown{{"0", 400, 15, 0xFFFF0000}}));  // the combo counter only
  boss->Damage(10);
  stage->Step(pad);
  pad.buttons[2] = 0;
  pad.buttons[3] = 1;  // V does nothing on "Stage Clear!!"
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kNone);
  EXPECT_EQ(Drawn(device), (Shown{{"Stage Clear!!", 330, 200, 0xFFFFFFFF},
                                  {"(Next Stage ... C Key)", 320, 250, 0xFF0000FF},
                                  {"1", 400, 15, 0xFFFF0000}}));
  pad.buttons[2] = 1;
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kNextStage);

  ship->Damage(1);
  stage->Step(pad);  // ship and boss both finished: only "Game Over"
  pad.buttons[2] = pad.buttons[3] = 0;
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kNextStage);  // neither key: the request stays
  EXPECT_EQ(Drawn(device), (Shown{{"Game Over", 330, 200, 0xFFFFFFFF},
                                  {"(Continue ... C Key)", 320, 250, 0xFF0000FF},
                                  {"(Return Start ... V Key)", 320, 270, 0xFF0000FF},
                                  {"1", 400, 15, 0xFFFF0000}}));
  pad.buttons[3] = 1;
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kTitle);
  pad.buttons[2] = 1;
  Draw();
  EXPECT_EQ(stage->GetRequest(), StageRequest::kSameStage);
}

namespace fs = std::filesystem;

// What stage one sets up shows in the committed replays' traces; here, its failure.
using StageSetUpTest = testkit::StartedStage;

// Stage 1 with its boss model missing from the data directory, and no sounds there: the
// sounds come from the copies built into the program, one message names the missing file and
// the stage fails before any mover is made.
TEST_F(StageSetUpTest, AMissingModelIsNamedInOneMessageAndFailsTheStageBeforeAnyMover) {
  const testing::ScratchFolder data("vorlith_setup");
  fs::copy(fs::path(VORLITH_DATA_DIR) / "model", data / "model");
  fs::remove(data / "model" / "boss0.x");
  DataDirectory::Set(data.string());
  const bool ready = SetUpStage1(*stage);
  DataDirectory::Set("");
  EXPECT_EQ(std::tuple(ready, stage->GetSoundManager().GetSound(1) != nullptr,
                       Manager().GetBulletPrototypeCount(), stage->GetMyShip(),
                       Manager().GetLineSlots()[0]),
            std::tuple(false, true, 0u, nullptr, nullptr));
  EXPECT_THAT(dialogs.shown,
              ::testing::ElementsAre(::testing::Pair(
                  ::testing::_, ::testing::HasSubstr((data / "model/boss0.x").string()))));
}

using HudTest = testkit::StartedStage;

TEST_F(HudTest, GainsAddWithoutCarryingFrom99AndTheLinesShowScoreAndCounts) {
  const std::uint32_t cases[][3] = {{99, 1, 99},        {199, 101, 299}, {99, 2, 101},
                                    {50, 1, 51},        {99, 100, 199},  {1099, 1, 1099},
                                    {4294967295u, 1, 0}};  // ends in 95: wraps as usual
  for (const auto& c : cases) EXPECT_EQ(Hud::AddGain(c[0], c[1]), c[2]) << c[0] << " + " << c[1];

  // The line shows the score and the debug overlay restarts the drawn counts. (The combo's
  // timing and payment show in the committed replays' traces: combo and score.)
  TextFont font;
  font.Create(&device, dialogs, 12);
  AddShip(12.345f, 90);
  Manager().CreateMoverEnemy(new MoverEnemy());
  Manager().CreateMoverBullet(new MoverBullet());
  stage->Step(pad);
  device.BeginScene();
  Manager().DrawMovers();
  std::int32_t currentTime = 7;
  MoverCounts counts = Manager().GetMoverCounts();
  counts.killedEnemies = 4;
  Hud::DrawDebug(font, *stage, counts, currentTime, 60);
  Hud::DrawLine(font, 3, 99);
  EXPECT_EQ(testkit::Texts(device),
            (std::vector<std::string>{"Pos(12.35, 90.00)", "VisibleBulletNum 1",
                                      "VisibleEnemyNum 1", "KilledEnemyNum 4", "CurrentTime 7",
                                      "FPS 60", "Stage 3", "000000099"}));
  const auto& texts = device.texts;
  EXPECT_EQ(std::tuple(texts[5].x, texts[5].y, texts[6].x, texts[7].x, texts[7].y),
            std::tuple(20, 120, 200, 500, 15));
  EXPECT_EQ(
      std::tuple(currentTime, counts.visibleBullets, counts.visibleEnemies, counts.killedEnemies),
      std::tuple(8, 0, 0, 4));
}

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
