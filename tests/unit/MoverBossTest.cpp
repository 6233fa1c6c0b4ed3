#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"
#include "movers/MoverBoss.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// The first stage's boss with its two bullet templates, entering play at stage time 0.
struct BossStage : SmallStage {
  MoverBoss* boss = new MoverBoss();
  MoverBullet* spread = new MoverBullet();
  MoverBullet* aimed = new MoverBullet();

  BossStage() {
    spread->SetSpeed(3);
    spread->SetMotion(1, 180, 0, 0, 0, 0);
    spread->SetFire(3, 10, 15, -1, 12, 10);
    aimed->SetSpeed(3);
    aimed->SetMotion(3, 180, 0, 0, 0, 0);
    aimed->SetFire(1, 10, 15, -1, 0, 0);
    manager->AddBulletPrototype(spread);
    manager->AddBulletPrototype(aimed);
    boss->SetPosition(50, 10, 0);
    boss->SetHp(100);
    boss->AddHitBox(-5, 5, 5, -5);
    boss->AddHitBox(-25, -15, 5, -5);
    boss->AddHitBox(15, 25, 5, -5);
    boss->AddContactBox(-25, 25, 8, -8);
    boss->SetScore(100000);
    boss->SetPhaseStart(0, 100);
    boss->SetPhaseStart(1, 200);
    boss->SetPhaseStart(2, -1);
    boss->SetPhaseStart(3, -1);
    boss->AddShot(spread);
    boss->AddShot(aimed);
    boss->SetShot(nullptr, 0, 10, 1);
    manager->AddBoss(boss);
    AddShip(95, 100, 1000000);  // out of reach, below the boss's path
  }
};

TEST(MoverBossTest, WaitsThenDescendsAndRisesInTurn) {
  BossStage stage;
  for (int i = 0; i < 200; ++i) stage.Frame();
  EXPECT_EQ(stage.boss->GetPhase(), 1);
  EXPECT_FLOAT_EQ(stage.boss->GetPosition().y, 10.0f);
  EXPECT_EQ(stage.CountBullets(), 0);
  for (int i = 0; i < 5; ++i) stage.Frame();  // ages 200 to 204
  EXPECT_EQ(stage.CountBullets(), 0);
  stage.Frame();  // age 205: the spread twice and two aimed shots
  EXPECT_EQ(stage.CountBullets(), 26);
  for (int i = 0; i < 85; ++i) stage.Frame();
  EXPECT_EQ(stage.boss->GetPhase(), 2);  // passed y = 100 after 91 frames of descent
  EXPECT_FLOAT_EQ(stage.boss->GetPosition().y, 101.0f);
  for (int i = 0; i < 101; ++i) stage.Frame();
  EXPECT_EQ(stage.boss->GetPhase(), 2);
  stage.Frame();  // 102 frames of rising pass 0
  EXPECT_EQ(stage.boss->GetPhase(), 1);
  EXPECT_FLOAT_EQ(stage.boss->GetPosition().y, -1.0f);
  stage.Frame();  // the descent's velocity is set anew
  EXPECT_FLOAT_EQ(stage.boss->GetPosition().y, 0.0f);
  EXPECT_EQ(stage.boss->GetHp(), 100);  // never hit by its own volleys
}

TEST(MoverBossTest, HalfItsHitPointsGoneDuringADescentStartsTheDanceForGood) {
  BossStage stage;
  for (int i = 0; i < 300; ++i) stage.Frame();
  ASSERT_EQ(stage.boss->GetPhase(), 2);
  stage.boss->Damage(51);  // 49 of 100 while rising: no switch yet
  for (int i = 0; i < 93; ++i) stage.Frame();
  ASSERT_EQ(stage.boss->GetPhase(), 1);
  stage.Frame();
  EXPECT_EQ(stage.boss->GetPhase(), 3);
  stage.Frame();  // the first dance frame: t = 0
  EXPECT_NEAR(stage.boss->GetPosition().x, 50.0f, 1e-5);
  EXPECT_NEAR(stage.boss->GetPosition().y, 50.0f, 1e-5);
  stage.Frame();
  EXPECT_NEAR(stage.boss->GetPosition().x, 50 + 30 * 0.0348995f, 1e-4);  // sin 2 degrees
  EXPECT_NEAR(stage.boss->GetPosition().y, 50 + 30 * 0.0523360f, 1e-4);  // sin 3 degrees
  for (int i = 0; i < 500; ++i) stage.Frame();
  EXPECT_EQ(stage.boss->GetPhase(), 3);
}

TEST(MoverBossTest, OnlyBulletsInsideItsBoxesHurtItAndOverlapsHitTwice) {
  BossStage stage;
  MoverBoss* boss = stage.boss;
  boss->SetTimer(0);
  stage.PlaceBullet(50 - 20, 10, 3);
  stage.PlaceBullet(50 - 10, 10, 50);  // between the blocks
  stage.PlaceBullet(50 + 25, 15, 4);   // corner of the right block
  boss->Update();
  EXPECT_EQ(boss->GetHp(), 93);

  MoverBoss overlapping;
  overlapping.SetHp(10);
  overlapping.AddHitBox(-5, 5, 5, -5);
  overlapping.AddHitBox(-1, 1, 1, -1);
  overlapping.SetPosition(30, 10, 0);
  overlapping.Update();
  EXPECT_EQ(overlapping.GetHp(), 4);  // the bullet of power 3 in both boxes
}

TEST(MoverBossTest, ContactBoxHurtsTheShipEveryFrameAndTheShipHurtsTheCentre) {
  BossStage stage;
  MoverBoss* boss = stage.boss;
  stage.manager->UpdateFrame();  // enters play
  stage.ship->SetHp(100);
  stage.ship->SetPosition(70, 18, 0);  // inside the contact box only
  stage.manager->UpdateFrame();
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.ship->GetHp(), 90);
  EXPECT_EQ(boss->GetHp(), 100);
  stage.ship->SetPosition(51, 11, 0);
  stage.manager->UpdateFrame();
  EXPECT_EQ(stage.ship->GetHp(), 85);
  EXPECT_EQ(boss->GetHp(), 99);
}

TEST(MoverBossTest, FiresOnlyTheTemplatesItHas) {
  SmallStage stage;
  stage.AddShip(50, 100);
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverBoss none;
  none.SetPhaseStart(1, 1);
  MoverBoss one;
  one.SetPhaseStart(1, 1);
  one.AddShot(&bullet);
  for (int i = 0; i < 2; ++i) {
    none.Update();
    one.Update();
  }
  EXPECT_EQ(one.GetPhase(), 1);
  EXPECT_EQ(stage.CountBullets(), 2);              // bossShots[0] from both sides
  EXPECT_FLOAT_EQ(bullet.GetPosition().x, 20.0f);  // the template keeps the last offset
}

TEST(MoverBossTest, DefeatScoresOnceAndThenNothingRunsOrDraws) {
  BossStage stage;
  MoverBoss* boss = stage.boss;
  stage.manager->UpdateFrame();
  const int killed = MoverEnemy::GetKilledEnemyCount();
  boss->Damage(100);
  stage.manager->UpdateFrame();
  EXPECT_TRUE(boss->IsFinished());
  EXPECT_EQ(MoverEnemy::GetKilledEnemyCount(), killed + 1);
  EXPECT_EQ(stage.manager->TakeScore(), 100000);
  EXPECT_EQ(stage.manager->GetKillCount(), 1);
  stage.manager->UpdateFrame();
  EXPECT_EQ(boss->GetAge(), 2);  // the frame it died in still counted its age
  MoverEnemy::ResetVisibleEnemyCount();
  boss->Draw();
  EXPECT_EQ(MoverEnemy::GetVisibleEnemyCount(), 0);
}

TEST(MoverBossTest, GaugesStandAt460) {
  BossStage stage;
  stage.manager->UpdateFrame();
  const LineDrawer* bar = stage.boss->GetHpBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FLOAT_EQ(bar->GetPoint(0).x, 460.0f);
  EXPECT_FLOAT_EQ(bar->GetPoint(1).y, 280.0f);
  stage.boss->Damage(40);
  ASSERT_TRUE(stage.device.BeginScene());
  stage.boss->Draw();
  EXPECT_FLOAT_EQ(bar->GetPoint(1).y, 320.0f);
  EXPECT_FLOAT_EQ(stage.boss->GetHpMaxBar()->GetPoint(1).y, 280.0f);
}

}  // namespace
}  // namespace vorlith
