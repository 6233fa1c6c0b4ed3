#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

using testkit::At;
using testkit::Flies;

// A template whose volleys follow `pattern`: 1 two parallel, 2 three, 3 a spread, else one.
MoverBullet Template(int pattern, int motion, float speed, float ways = 0, float step = 0) {
  MoverBullet bullet;
  bullet.SetSpeed(speed);
  bullet.SetMotion(motion, 0, 0, 0, 0, 0);
  bullet.SetFire(pattern, 0, 1, -1, ways, step);
  return bullet;
}

TEST(MoverShooterTest, ParallelShotsStandTwoApartThreeAheadAndKeepTheTemplateOffset) {
  testkit::SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);  // heading 0: up
  MoverBullet three = Template(2, 1, 3.0f), two = Template(1, 1, 3.0f);
  three.SetPosition(0, -1, 0);
  two.SetPosition(0, -1, 0);
  ship->FireVolley(&three);
  ship->FireVolley(&two);
  const float expectX[] = {48, 50, 52, 49, 51};
  ASSERT_EQ(stage.CountBullets(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(At(stage.Bullet(i), expectX[i], 86)) << i;
  EXPECT_TRUE(Flies(stage.Bullet(0), 0, -3));
}

TEST(MoverShooterTest, AimedShotsHeadForTheShipAndStartOnTheMirroredHeading) {
  testkit::SmallStage stage;
  MoverEnemy shooter;
  stage.Join(shooter);
  shooter.SetPosition(50, 10, 0);
  MoverBullet aimed = Template(4, 3, 5.0f);  // any other pattern: one bullet
  aimed.SetVelocity(1, 2);
  shooter.FireVolley(&aimed);  // no ship to aim at: the template's velocity
  EXPECT_TRUE(Flies(stage.Bullet(0), 1, 2));
  stage.AddShip(80, 50);
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(1), 3, 4));
  EXPECT_TRUE(At(stage.Bullet(1), 51.8f, 12.4f));
  stage.ship->SetPosition(80, -30, 0);  // above: flies up, but starts below-right
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(2), 3, -4));
  EXPECT_TRUE(At(stage.Bullet(2), 51.8f, 12.4f));
  stage.ship->SetPosition(50, 10, 0);  // on the shooter: heading and velocity unchanged
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(3), 1, 2));
  EXPECT_TRUE(At(stage.Bullet(3), 50, 13));
}

TEST(MoverShooterTest, SpreadFansTheBaseVelocityAroundTheHeading) {
  testkit::SmallStage stage;
  MoverEnemy down;  // heading 180
  stage.Join(down);
  down.SetPosition(50, 50, 0);
  // Fired downwards (the enemies' and the boss's way) a spread shows in the traces; a ship,
  // heading 0, places it the other way round.
  MoverBullet three = Template(3, 1, 2.0f, 3, 30);
  MoverMyShip* up = stage.AddShip(50, 90);
  up->FireVolley(&three);
  EXPECT_TRUE(At(stage.Bullet(0), 48.5f, 90 - 3 - 3 * 0.8660254f));  // a = -30
  EXPECT_TRUE(Flies(stage.Bullet(0), -1, -2 * 0.8660254f));

  MoverBullet twelve = Template(3, 1, 3.0f, 12.9f, 10);  // 12.9 ways truncate to 12
  down.FireVolley(&twelve);
  ASSERT_EQ(stage.CountBullets(), 15);
  EXPECT_TRUE(Flies(stage.Bullet(3), 3 * 0.819152f, 3 * 0.573576f));    // a = -55 ...
  EXPECT_TRUE(Flies(stage.Bullet(14), -3 * 0.819152f, 3 * 0.573576f));  // ... to 55
  MoverBullet none = Template(3, 1, 3.0f, 0.5f, 10);
  down.FireVolley(&none);
  EXPECT_EQ(stage.CountBullets(), 15);
}

TEST(MoverShooterTest, BulletsRefusedByAFullKindAreReportedEachAndNotKept) {
  testkit::SmallStage stage;
  for (int i = 0; i < MoverManager::kBulletSlots - 1; ++i) stage.PlaceBullet(0, 0);
  MoverEnemy shooter;
  stage.Join(shooter);
  MoverBullet bullet = Template(2, 1, 1.0f);
  shooter.FireVolley(&bullet);  // one fits, two are refused (and freed: LeakSanitizer)
  EXPECT_EQ(stage.CountBullets(), MoverManager::kBulletSlots);
  ASSERT_EQ(stage.dialogs.shown.size(), 2u);
  EXPECT_EQ(stage.dialogs.shown[1], testkit::Message("Error", "MoverManager::CreateMoverBullet()"));
}

TEST(MoverBulletTest, FliesUntilTenUnitsOutsideAndHitsEveryOverlappingEnemyUntilRemoved) {
  testkit::SmallStage stage;
  MoverBullet bullet;
  stage.Join(bullet);
  bullet.SetMotion(4, 0, 0, 0, 0, -0.5f);  // homing, with no ship to follow
  bullet.SetPosition(50, -9.5f, 0);
  bullet.Move();  // at -9.5: in play, moves to -10
  bullet.Move();  // at -10: still in play, moves to -10.5
  bullet.Draw();
  EXPECT_FALSE(bullet.IsFinished());
  bullet.Move();
  bullet.Draw();
  EXPECT_EQ(std::tuple(bullet.IsFinished(), bullet.GetPosition().y, stage.Counts().visibleBullets),
            std::tuple(true, -10.5f, 1));

  // A bullet finished in its own update stays in its slot until the next frame reaches the
  // slot, after the enemies, which come first, have tested it once more.
  stage.AddShip(50, 90);
  MoverEnemy* first = stage.PlaceEnemy(30, 30, 10);
  MoverEnemy* second = stage.PlaceEnemy(31, 31, 10);
  MoverBullet* spent = stage.PlaceBullet(30.5f, 30.5f, 5);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(first->GetHp(), second->GetHp(), spent->IsFinished(), stage.CountBullets()),
            std::tuple(5, 5, true, 1));
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(first->IsDead(), second->IsDead(), stage.CountBullets()),
            std::tuple(true, true, 0));
}

}  // namespace
}  // namespace vorlith
