#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "movers/MoverBullet.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

TEST(MoverBulletTest, FliesUntilMoreThanTenUnitsOutside) {
  MoverBullet bullet;
  bullet.SetMotion(1, 0, 0, 0, 0, -0.5f);
  bullet.SetPosition(50, -9.5f, 0);
  bullet.Move();  // at -9.5: in play, moves to -10
  bullet.Move();  // at -10: still in play, moves to -10.5
  EXPECT_FALSE(bullet.IsFinished());
  EXPECT_FLOAT_EQ(bullet.GetPosition().y, -10.5f);
  bullet.Move();
  EXPECT_TRUE(bullet.IsFinished());
  EXPECT_FLOAT_EQ(bullet.GetPosition().y, -10.5f);
}

TEST(MoverBulletTest, SpentBulletFinishesInItsUpdateAndIsNoLongerDrawn) {
  MoverBullet::ResetVisibleBulletCount();
  MoverBullet bullet;
  bullet.Draw();
  bullet.Update();
  EXPECT_FALSE(bullet.IsFinished());
  bullet.Damage(1);
  bullet.Update();
  EXPECT_TRUE(bullet.IsFinished());
  bullet.Draw();
  EXPECT_EQ(MoverBullet::GetVisibleBulletCount(), 1);
}

TEST(MoverBulletTest, ASpentBulletStillHitsUntilRemoved) {
  SmallStage stage;
  stage.AddShip(50, 90);
  MoverEnemy* first = stage.PlaceEnemy(30, 30, 10);
  MoverEnemy* second = stage.PlaceEnemy(31, 31, 10);
  stage.PlaceBullet(30.5f, 30.5f, 5);
  stage.manager->UpdateFrame();  // both enemies are updated before the bullet
  EXPECT_EQ(first->GetHp(), 5);
  EXPECT_EQ(second->GetHp(), 5);
  EXPECT_EQ(stage.CountBullets(), 1);
  // Finished in its own update, it stays in its slot until the next frame reaches the slot,
  // after the enemies have tested it once more.
  stage.manager->UpdateFrame();
  EXPECT_TRUE(first->IsDead());
  EXPECT_TRUE(second->IsDead());
  EXPECT_EQ(stage.CountBullets(), 0);
}

}  // namespace
}  // namespace vorlith
