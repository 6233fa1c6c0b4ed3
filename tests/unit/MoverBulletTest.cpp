#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

TEST(MoverBulletTest, FliesUntilMoreThanTenUnitsOutsideThenStopsAndIsNoLongerDrawn) {
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
  EXPECT_TRUE(bullet.IsFinished());
  EXPECT_FLOAT_EQ(bullet.GetPosition().y, -10.5f);
  bullet.Draw();
  EXPECT_EQ(stage.Counts().visibleBullets, 1);
}

// A bullet finished in its own update stays in its slot until the next frame reaches the
// slot, after the enemies, which come first, have tested it once more.
TEST(MoverBulletTest, ASpentBulletHitsEveryOverlappingEnemyUntilRemoved) {
  testkit::SmallStage stage;
  stage.AddShip(50, 90);
  MoverEnemy* first = stage.PlaceEnemy(30, 30, 10);
  MoverEnemy* second = stage.PlaceEnemy(31, 31, 10);
  MoverBullet* bullet = stage.PlaceBullet(30.5f, 30.5f, 5);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(first->GetHp(), 5);
  EXPECT_EQ(second->GetHp(), 5);
  EXPECT_TRUE(bullet->IsFinished());
  EXPECT_EQ(stage.CountBullets(), 1);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_TRUE(first->IsDead());
  EXPECT_TRUE(second->IsDead());
  EXPECT_EQ(stage.CountBullets(), 0);
}

}  // namespace
}  // namespace vorlith
