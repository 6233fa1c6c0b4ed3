#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "StageTestKit.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

struct StageSetUpTest : ::testing::Test, testkit::StageRun {
  void SetUp() override { ASSERT_TRUE(stage->Init()); }
  template <typename T>
  static std::vector<Vec3> Positions(const std::vector<T*>& movers) {
    std::vector<Vec3> found;
    for (const T* mover : movers) found.push_back(mover->GetPosition());
    return found;
  }
  std::vector<Vec3> Enemies() const {
    return Positions(testkit::InPlay<MoverEnemy>(Manager().GetEnemySlots(), 50));
  }
  std::vector<Vec3> Items() const {
    return Positions(testkit::InPlay<MoverItem>(Manager().GetItemSlots(), 10));
  }
  // Runs update frames (spawning and behaviour, nothing moves) until the clock reads `t`.
  void UpdateUntil(int t) {
    while (Manager().GetStageTime() < t) Manager().UpdateFrame(pad);
  }
};

::testing::Matcher<Vec3> At(float x, float y) {
  return ::testing::AllOf(::testing::Field(&Vec3::x, x), ::testing::Field(&Vec3::y, y),
                          ::testing::Field(&Vec3::z, 0.0f));
}

TEST_F(StageSetUpTest, StageOneHoldsItsTemplatesItsShipAndTheFrameAndNothingElse) {
  ASSERT_TRUE(SetUpStage1(*stage));
  EXPECT_TRUE(dialogs.shown.empty());
  MoverManager& manager = Manager();
  EXPECT_EQ(std::tuple(manager.GetBulletPrototypeCount(), manager.GetItemPrototypeCount(),
                       manager.GetEnemyPrototypeCount(), manager.GetBossCount()),
            std::tuple(5u, 2u, 2u, 1u));
  MoverMyShip* ship = manager.GetShipSlots()[0];
  ASSERT_EQ(stage->GetMyShip(), ship);
  EXPECT_EQ(ship->GetModel(), stage->GetModel(0));
  EXPECT_EQ(ship->GetShotTemplate()->GetModel(), stage->GetModel(4));
  MoverBoss* boss = manager.GetBoss(0);
  EXPECT_EQ(
      std::tuple(stage->GetBossMover(), boss->GetAppearStart(), boss->GetHpMax(), boss->GetModel()),
      std::tuple(boss, 5000, 100, stage->GetModel(1)));
  EXPECT_EQ(std::tuple(manager.GetShipSlots()[1], manager.GetBossSlots()[0],
                       manager.GetBulletSlots()[0], Enemies().size(), Items().size()),
            std::tuple(nullptr, nullptr, nullptr, 0u, 0u));
  Mover* const* lines = manager.GetLineSlots();
  EXPECT_THAT(Positions(std::vector<Mover*>(lines, lines + 4)),
              ElementsAre(At(50, 0), At(50, 100), At(0, 50), At(100, 50)));
  EXPECT_EQ(std::tuple(lines[0]->GetModel(), lines[3]->GetModel()),
            std::tuple(stage->GetModel(8), stage->GetModel(9)));
  for (float x : {30.0f, 38.0f, 45.0f, 75.0f}) {  // in the side and centre blocks, or between
    auto* bullet = new MoverBullet();
    bullet->SetPosition(x, 15, 0);
    manager.CreateMoverBullet(bullet);
  }
  boss->Update();
  EXPECT_EQ(boss->GetHp(), 97);
  for (int slot = 0; slot < 10; ++slot) EXPECT_TRUE(stage->GetModel(slot)->IsLoaded()) << slot;
  EXPECT_NE(stage->GetSoundManager().GetSound(0), nullptr);
  EXPECT_NE(stage->GetSoundManager().GetSound(1), nullptr);
}

TEST_F(StageSetUpTest, StageOnesScriptOpensWithEnemiesAtFiftyAndAHundredAndItemsFromAHundred) {
  ASSERT_TRUE(SetUpStage1(*stage));
  UpdateUntil(50);
  EXPECT_TRUE(Enemies().empty());
  UpdateUntil(51);
  EXPECT_THAT(Enemies(), ElementsAre(At(30, -10)));
  UpdateUntil(100);
  EXPECT_TRUE(Items().empty());
  UpdateUntil(101);
  EXPECT_THAT(Enemies(), ElementsAre(At(30, -10), At(70, -10)));
  EXPECT_THAT(Items(), ElementsAre(At(80, -10)));
  UpdateUntil(150);
  EXPECT_EQ(Enemies().size(), 2u);
  UpdateUntil(151);
  EXPECT_THAT(Enemies(), ElementsAre(At(30, -10), At(70, -10), At(30, -10)));
  EXPECT_THAT(Items(), ElementsAre(At(80, -10), At(80, -10), At(10, -10)));
  // The first enemy fired its 12-way spread at ages 10, 25, 40 ... from its entry at t = 50;
  // the second at ages 10, 25, 40 from t = 100.
  EXPECT_EQ(testkit::InPlay<MoverBullet>(Manager().GetBulletSlots(), 500).size(), 12u * 10);
}

// Without the data directory the sounds come from the copies built into the program, but
// the models are missing: the stage fails before any mover is made.
TEST_F(StageSetUpTest, WithoutTheDataTheSoundsAreBuiltInButTheModelsFailTheStage) {
  const fs::path data = fs::current_path();
  const fs::path empty = fs::temp_directory_path() / ("vorlith_setup_" + std::to_string(getpid()));
  fs::create_directories(empty);
  fs::current_path(empty);
  const bool ready = SetUpStage1(*stage);
  fs::current_path(data);
  fs::remove_all(empty);
  EXPECT_FALSE(ready);
  EXPECT_NE(stage->GetSoundManager().GetSound(1), nullptr);
  EXPECT_EQ(std::tuple(Manager().GetBulletPrototypeCount(), stage->GetMyShip(),
                       Manager().GetLineSlots()[0]),
            std::tuple(0u, nullptr, nullptr));
}

}  // namespace
}  // namespace vorlith
