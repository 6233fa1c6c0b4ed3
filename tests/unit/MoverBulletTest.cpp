#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

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
