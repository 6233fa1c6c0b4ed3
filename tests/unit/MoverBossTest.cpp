#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"

namespace vorlith {
namespace {

using testkit::At;

// The first stage's boss at (50, 10) with 100 hp, its three hit boxes and contact box, phase
// starts 100 and 200, firing the 12-way spread and the aimed pair from stage time 0; and a
// ship out of its reach, 75 right of and 100 below where the boss fires first.
struct BossStage : testkit::SmallStage {
  MoverBoss* boss = new MoverBoss();

  BossStage() {
    auto* spread = new MoverBullet();
    auto* aimed = new MoverBullet();
    spread->SetFire(3, 10, 15, -1, 12, 10);
    aimed->SetFire(1, 10, 15, -1, 0, 0);
    aimed->SetMotion(3, 180, 0, 0, 0, 0);
    for (MoverBullet* shot : {spread, aimed}) {
      shot->SetSpeed(3);
      manager->AddBulletPrototype(shot);
      boss->AddShot(shot);
    }
    spread->SetMotion(1, 180, 0, 0, 0, 0);
    boss->SetPosition(50, 10, 0);
    boss->SetHp(100);
    boss->AddHitBox(-5, 5, 5, -5);
    boss->AddHitBox(-25, -15, 5, -5);
    boss->AddHitBox(15, 25, 5, -5);
    boss->AddContactBox(-25, 25, 8, -8);
    boss->SetScore(100000);
    const int phaseStarts[] = {100, 200, -1, -1};
    for (int phase = 0; phase < 4; ++phase) boss->SetPhaseStart(phase, phaseStarts[phase]);
    boss->SetShot(nullptr, 0, 10, 1);
    manager->AddBoss(boss);
    AddShip(125, 116, 1000000);
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  std::tuple<int, float> PhaseAndY() const { return {boss->GetPhase(), boss->GetPosition().y}; }
};

TEST(MoverBossTest, WaitsThenDescendsAndRisesInTurn) {
  BossStage stage;
  stage.Frames(205);  // ages 0 to 204: phase 1 from age 200, no volley yet
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(1, 15.0f));
  EXPECT_EQ(stage.CountBullets(), 0);
  stage.Frame();  // age 205: the aimed pair and the spread twice, 8 below the boss
  ASSERT_EQ(stage.CountBullets(), 26);
  // Placed 3 ahead, then moved by their speed of 3 once.
  EXPECT_TRUE(At(stage.Bullet(0), 50 - 1 + 6 * 0.6f, 16 + 8 + 6 * 0.8f));
  EXPECT_NEAR(stage.Bullet(2)->GetPosition().x, 50 - 20 + 6 * 0.819152f, 1e-4);
  stage.Frames(85);
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(2, 101.0f));  // past 100 after 91 frames down
  stage.Frames(101);
  EXPECT_EQ(stage.boss->GetPhase(), 2);
  stage.Frame();  // 102 frames of rising pass 0
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(1, -1.0f));
  stage.Frame();  // the descent's velocity is set anew, and so is the rise's after it
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(1, 0.0f));
  stage.Frames(102);
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(2, 100.0f));
  EXPECT_EQ(stage.boss->GetHp(), 100);  // never hit by its own volleys
}

TEST(MoverBossTest, HalfItsHitPointsGoneDuringADescentStartsTheDanceForGood) {
  BossStage stage;
  stage.Frames(300);
  ASSERT_EQ(stage.boss->GetPhase(), 2);
  stage.boss->Damage(50);  // half of 100 is not below half
  stage.Frames(94);
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(1, 0.0f));
  stage.Frames(102);
  stage.boss->Damage(1);  // below half while rising: no switch until the next descent
  stage.Frame();
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(2, 99.0f));
  stage.Frames(101);
  EXPECT_EQ(stage.PhaseAndY(), std::tuple(3, 0.0f));
  stage.Frames(2);  // dancing at t = 0, then t = 1: sin 2 and sin 3 degrees
  EXPECT_TRUE(At(stage.boss, 50 + 30 * 0.0348995f, 50 + 30 * 0.0523360f));
  stage.Frames(500);
  EXPECT_EQ(stage.boss->GetPhase(), 3);
}

TEST(MoverBossTest, OnlyBulletsInsideItsBoxesHurtItAndOverlapsHitTwice) {
  BossStage stage;
  stage.PlaceBullet(50 - 20, 10, 3);
  stage.PlaceBullet(50 - 10, 10, 50);  // between the blocks
  stage.PlaceBullet(50 + 25, 15, 4);   // corner of the right block
  stage.boss->Update();
  EXPECT_EQ(stage.boss->GetHp(), 93);
  MoverBoss overlapping;
  stage.Join(overlapping);
  overlapping.SetHp(10);
  overlapping.AddHitBox(-5, 5, 5, -5);
  overlapping.AddHitBox(-1, 1, 1, -1);
  overlapping.SetPosition(30, 10, 0);
  overlapping.Update();
  EXPECT_EQ(overlapping.GetHp(), 4);  // the bullet of power 3 in both boxes
}

TEST(MoverBossTest, ContactBoxHurtsTheShipEveryFrameAndTheShipHurtsTheCentre) {
  BossStage stage;
  stage.manager->UpdateFrame(stage.pad);  // enters play
  stage.ship->SetHp(100);
  stage.ship->SetPosition(75, 18, 0);  // the corner of the contact box
  stage.manager->UpdateFrame(stage.pad);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.ship->GetHp(), stage.boss->GetHp()), std::tuple(90, 100));
  stage.ship->SetPosition(51, 11, 0);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.ship->GetHp(), stage.boss->GetHp()), std::tuple(85, 99));
}

TEST(MoverBossTest, FiresOnlyTheTemplatesItHasAndNeedsNoShip) {
  testkit::SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverBoss none, one;
  none.AddContactBox(-5, 5, 5, -5);
  one.AddShot(&bullet);
  for (MoverBoss* boss : {&none, &one}) {
    stage.Join(*boss);
    boss->SetPhaseStart(1, 1);
    boss->Update();
    boss->Update();
  }
  EXPECT_EQ(std::tuple(one.GetPhase(), stage.CountBullets()), std::tuple(1, 2));  // both sides
  EXPECT_FLOAT_EQ(bullet.GetPosition().x, 20.0f);  // the template keeps the last offset
}

TEST(MoverBossTest, GaugesStandAt460AndDefeatScoresOnceThenNothingRunsOrDraws) {
  BossStage stage;
  stage.manager->UpdateFrame(stage.pad);
  const LineDrawer* bar = stage.boss->GetHpBar();
  EXPECT_EQ(std::tuple(bar->GetPoint(0).x, bar->GetPoint(1).y), std::tuple(460.0f, 280.0f));
  stage.boss->Damage(40);
  stage.device.BeginScene();
  stage.boss->Draw();
  EXPECT_EQ(std::tuple(bar->GetPoint(1).y, stage.boss->GetHpMaxBar()->GetPoint(1).y),
            std::tuple(320.0f, 280.0f));
  const MoverCounts drawn = stage.Counts();
  stage.boss->Damage(60);
  stage.manager->UpdateFrame(stage.pad);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.boss->IsFinished(), stage.Counts().killedEnemies,
                       stage.manager->TakeScore(), stage.manager->GetKillCount()),
            std::tuple(true, 1, 100000, 1));
  EXPECT_EQ(stage.boss->GetAge(), 2);  // the frame it fell in still counted its age
  stage.boss->Draw();
  EXPECT_EQ(stage.Counts().visibleEnemies, drawn.visibleEnemies);
}

}  // namespace
}  // namespace vorlith
