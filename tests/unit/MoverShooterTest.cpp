#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "movers/MoverShooter.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

MoverBullet Template(int motion, float speed) {
  MoverBullet bullet;
  bullet.SetSpeed(speed);
  bullet.SetMotion(motion, 0, 0, 0, 0, 0);
  return bullet;
}

TEST(MoverShooterTest, StraightShotStartsThreeUnitsAheadAndFlies) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  MoverBullet bullet = Template(1, 3.0f);
  ship->FireParallel(&bullet, 1);
  MoverBullet* shot = stage.Bullet(0);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->GetOwner(), ship);
  EXPECT_EQ(shot->GetTimer(), 0);
  EXPECT_FLOAT_EQ(shot->GetPosition().x, 50.0f);
  EXPECT_FLOAT_EQ(shot->GetPosition().y, 87.0f);
  shot->Move();
  EXPECT_FLOAT_EQ(shot->GetPosition().y, 84.0f);
}

TEST(MoverShooterTest, ParallelVolleysStandTwoUnitsApartAndKeepTheTemplateOffset) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  MoverBullet bullet = Template(1, 3.0f);
  bullet.SetPosition(0, -1, 0);
  ship->FireParallel(&bullet, 3);
  ship->FireParallel(&bullet, 2);
  const float expectX[] = {48, 50, 52, 49, 51};
  ASSERT_EQ(stage.CountBullets(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_FLOAT_EQ(stage.Bullet(i)->GetPosition().x, expectX[i]);
    EXPECT_FLOAT_EQ(stage.Bullet(i)->GetPosition().y, 86.0f);
  }
}

TEST(MoverShooterTest, AimedShotsHeadForTheShipAndStartOnTheMirroredHeading) {
  SmallStage stage;
  stage.AddShip(80, 50);
  MoverEnemy shooter;
  shooter.SetPosition(50, 10, 0);
  MoverBullet aimed = Template(3, 5.0f);
  shooter.FireParallel(&aimed, 1);
  MoverBullet* shot = stage.Bullet(0);
  EXPECT_NEAR(shot->GetMotionParam(3), 3.0f, 1e-5);
  EXPECT_NEAR(shot->GetMotionParam(4), 4.0f, 1e-5);
  EXPECT_NEAR(shot->GetPosition().x, 51.8f, 1e-4);
  EXPECT_NEAR(shot->GetPosition().y, 12.4f, 1e-4);

  stage.ship->SetPosition(80, -30, 0);  // above: flies up, but starts below-right
  shooter.FireParallel(&aimed, 1);
  shot = stage.Bullet(1);
  EXPECT_NEAR(shot->GetMotionParam(4), -4.0f, 1e-5);
  EXPECT_NEAR(shot->GetPosition().y, 12.4f, 1e-4);

  stage.ship->SetPosition(50, 10, 0);  // on the shooter: heading and velocity unchanged
  shooter.FireParallel(&aimed, 1);
  shot = stage.Bullet(2);
  EXPECT_FLOAT_EQ(shot->GetMotionParam(3), 0.0f);
  EXPECT_NEAR(shot->GetPosition().y, 13.0f, 1e-5);
}

TEST(MoverShooterTest, AimedShotWithoutAShipKeepsItsVelocity) {
  SmallStage stage;
  MoverEnemy shooter;
  shooter.SetPosition(50, 10, 0);
  MoverBullet aimed = Template(3, 5.0f);
  aimed.SetVelocity(1, 2);
  shooter.FireParallel(&aimed, 1);
  EXPECT_FLOAT_EQ(stage.Bullet(0)->GetMotionParam(3), 1.0f);
  EXPECT_FLOAT_EQ(stage.Bullet(0)->GetMotionParam(4), 2.0f);
}

TEST(MoverShooterTest, SpreadFansTheBaseVelocityAroundTheHeading) {
  SmallStage stage;
  MoverEnemy down;  // heading 180
  down.SetPosition(50, 50, 0);
  MoverBullet spread = Template(1, 2.0f);
  spread.SetFire(3, 0, 1, -1, 3.0f, 30.0f);
  down.FireSpread(&spread);
  ASSERT_EQ(stage.CountBullets(), 3);
  MoverBullet* left = stage.Bullet(0);  // a = -30
  EXPECT_NEAR(left->GetPosition().x, 51.5f, 1e-4);
  EXPECT_NEAR(left->GetPosition().y, 50 + 3 + 3 * 0.8660254f, 1e-4);
  EXPECT_NEAR(left->GetMotionParam(3), 1.0f, 1e-5);
  EXPECT_NEAR(left->GetMotionParam(4), 2 * 0.8660254f, 1e-5);
  EXPECT_NEAR(stage.Bullet(1)->GetMotionParam(4), 2.0f, 1e-5);
  EXPECT_NEAR(stage.Bullet(2)->GetMotionParam(3), -1.0f, 1e-5);

  MoverMyShip* up = stage.AddShip(50, 90);  // heading 0: placed the other way round
  up->FireSpread(&spread);
  MoverBullet* first = stage.Bullet(3);
  EXPECT_NEAR(first->GetPosition().x, 48.5f, 1e-4);
  EXPECT_NEAR(first->GetPosition().y, 90 - 3 - 3 * 0.8660254f, 1e-4);
  EXPECT_NEAR(first->GetMotionParam(3), -1.0f, 1e-5);
  EXPECT_NEAR(first->GetMotionParam(4), -2 * 0.8660254f, 1e-5);
}

TEST(MoverShooterTest, TwelveWaySpreadRunsFromMinus55To55AndNoWaysFiresNothing) {
  SmallStage stage;
  MoverEnemy down;
  MoverBullet spread = Template(1, 3.0f);
  spread.SetFire(3, 10, 15, -1, 12.9f, 10.0f);  // 12.9 ways truncate to 12
  down.FireSpread(&spread);
  ASSERT_EQ(stage.CountBullets(), 12);
  // a = -55: vx = -sin(a) * 3, vy = cos(a) * 3
  EXPECT_NEAR(stage.Bullet(0)->GetMotionParam(3), 3 * 0.819152f, 1e-4);
  EXPECT_NEAR(stage.Bullet(11)->GetMotionParam(3), -3 * 0.819152f, 1e-4);
  EXPECT_NEAR(stage.Bullet(11)->GetMotionParam(4), 3 * 0.573576f, 1e-4);

  MoverBullet none = Template(1, 3.0f);
  none.SetFire(3, 0, 1, -1, 0.5f, 10.0f);
  down.FireSpread(&none);
  EXPECT_EQ(stage.CountBullets(), 12);
}

TEST(MoverShooterTest, VolleyShapeFollowsTheFirePattern) {
  SmallStage stage;
  MoverEnemy shooter;
  MoverBullet bullet = Template(1, 1.0f);
  const int expected[] = {1, 2, 3, 4, 1};  // patterns 0..4: one, two, three, spread of 4, one
  int before = 0;
  for (int pattern = 0; pattern <= 4; ++pattern) {
    bullet.SetFire(pattern, 0, 1, -1, 4.0f, 10.0f);
    shooter.FireVolley(&bullet);
    EXPECT_EQ(stage.CountBullets() - before, expected[pattern]) << "pattern " << pattern;
    before = stage.CountBullets();
  }
}

TEST(MoverShooterTest, BulletsRefusedByAFullKindAreReportedEachAndNotKept) {
  SmallStage stage;
  for (int i = 0; i < MoverManager::kBulletSlots - 1; ++i) stage.PlaceBullet(0, 0);
  MoverEnemy shooter;
  MoverBullet bullet = Template(1, 1.0f);
  shooter.FireParallel(&bullet, 3);  // one fits, two are refused (and freed: LeakSanitizer)
  EXPECT_EQ(stage.CountBullets(), MoverManager::kBulletSlots);
  ASSERT_EQ(stage.dialogs.shown.size(), 2u);
  EXPECT_EQ(stage.dialogs.shown[0].first, "Error");
  EXPECT_EQ(stage.dialogs.shown[0].second, "MoverManager::CreateMoverBullet()");
}

}  // namespace
}  // namespace vorlith
