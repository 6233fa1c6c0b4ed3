#include <gtest/gtest.h>

#include "StageTestKit.h"

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

}  // namespace
}  // namespace vorlith
