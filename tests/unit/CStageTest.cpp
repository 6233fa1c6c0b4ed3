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
  EXPECT_FALSE(ready);
  EXPECT_NE(stage->GetSoundManager().GetSound(1), nullptr);
  EXPECT_EQ(std::tuple(Manager().GetBulletPrototypeCount(), stage->GetMyShip(),
                       Manager().GetLineSlots()[0]),
            std::tuple(0u, nullptr, nullptr));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].second.find((data / "model/boss0.x").string()), std::string::npos)
      << dialogs.shown[0].second;
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

}  // namespace
}  // namespace vorlith
