#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"

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

using testkit::At;

// Its phases and volleys show in the boss replay's committed trace. The first stage's boss at (50,
// 10) with 100 hp, its three hit boxes and contact box, phase starts 100 and 200, firing the 12-way
// spread and the aimed pair from stage time 0; and a ship out of its reach, 75 right of and 100
// below where the boss fires first.
struct BossStage : testkit::SmallStage {
  MoverBoss* boss = new MoverBoss();

  BossStage() {
    boss->AddShot(AddShotTemplate(1, 180, 3, 12));
    boss->AddShot(AddShotTemplate(3, 180, 1));
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
};

// Its descent turns into the dance only with less than half its hit points: at exactly half
// it descends to the bottom and rises.
TEST(MoverBossTest, TheDanceStartsOnlyBelowHalfItsHitPoints) {
  for (int damage : {50, 51}) {
    BossStage stage;
    stage.boss->Damage(damage);
    for (int i = 0; i < 300; ++i) stage.Frame();
    EXPECT_EQ(stage.boss->GetPhase(), damage == 50 ? 2 : 3) << damage;
  }
}

// Its contact box hurts the ship every frame and the ship hurts its centre; only bullets
// inside its hit boxes hurt it, and a bullet in two boxes hits twice.
TEST(MoverBossTest, ContactAndHitBoxes) {
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

  stage.PlaceBullet(50 - 20, 10, 3);
  stage.PlaceBullet(50 - 10, 10, 50);  // between the blocks
  stage.PlaceBullet(50 + 25, 15, 4);   // corner of the right block
  stage.boss->Update();
  EXPECT_EQ(stage.boss->GetHp(), 99 - 3 - 4);
  MoverBoss overlapping;
  stage.Join(overlapping);
  overlapping.SetHp(10);
  overlapping.AddHitBox(-5, 5, 5, -5);
  overlapping.AddHitBox(-1, 1, 1, -1);
  overlapping.SetPosition(30, 10, 0);
  overlapping.Update();
  EXPECT_EQ(overlapping.GetHp(), 4);  // the bullet of power 3 in both boxes
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
