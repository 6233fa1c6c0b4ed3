#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "StageTestKit.h"
#include "TestPlatform.h"
#include "app/GameApp.h"
#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "platform/SilentAudioSystem.h"
#include "stage/CStage.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;
using testkit::RecordingDialogs;

struct StageSetUpTest : ::testing::Test {
  HeadlessRenderDevice device;
  RecordingDialogs dialogs;
  SilentAudioSystem audio;
  PadState pad;
  std::unique_ptr<CStage> stage;

  void SetUp() override {
    device.Create(640, 480, true);
    SetGraphicsDevice(&device);
    stage = std::make_unique<CStage>(&device, &pad, &audio);
    ASSERT_TRUE(stage->Init());
  }
  void TearDown() override {
    stage->ClearMovers();
    stage->ReleaseAllModels();
    stage.reset();
    SetGraphicsDevice(nullptr);
  }
  MoverManager& Manager() { return *stage->GetManager(); }

  template <typename T>
  static std::vector<Vec3> Positions(T* const* slots, int n) {
    std::vector<Vec3> found;
    for (int i = 0; i < n; ++i) {
      if (slots[i]) found.push_back(slots[i]->GetPosition());
    }
    return found;
  }
  std::vector<Vec3> Enemies() { return Positions(Manager().GetEnemySlots(), 50); }
  std::vector<Vec3> Items() { return Positions(Manager().GetItemSlots(), 10); }
  // Runs update frames (spawning and behaviour, nothing moves) until the clock reads `t`.
  void UpdateUntil(int t) {
    while (Manager().GetStageTime() < t) Manager().UpdateFrame();
  }
};

::testing::Matcher<Vec3> At(float x, float y) {
  return ::testing::AllOf(::testing::Field(&Vec3::x, x), ::testing::Field(&Vec3::y, y),
                          ::testing::Field(&Vec3::z, 0.0f));
}

TEST_F(StageSetUpTest, StageOneHoldsItsTemplatesItsShipAndTheFrameAndNothingElse) {
  ASSERT_TRUE(SetUpStage1(*stage, &pad));
  EXPECT_TRUE(dialogs.shown.empty());
  MoverManager& manager = Manager();
  EXPECT_EQ(manager.GetBulletPrototypeCount(), 5u);
  EXPECT_EQ(manager.GetItemPrototypeCount(), 2u);
  EXPECT_EQ(manager.GetEnemyPrototypeCount(), 2u);
  ASSERT_EQ(manager.GetBossCount(), 1u);

  MoverMyShip* ship = manager.GetShipSlots()[0];
  ASSERT_NE(ship, nullptr);
  EXPECT_EQ(stage->GetMyShip(), ship);
  EXPECT_EQ(ship->GetModel(), stage->GetModel(0));
  EXPECT_THAT(ship->GetPosition(), At(50, 90));
  EXPECT_EQ(ship->GetHp(), 100);
  EXPECT_EQ(ship->GetHpMax(), 100);
  EXPECT_EQ(ship->GetAngle(), 0.0f);
  ASSERT_NE(ship->GetShotTemplate(), nullptr);
  EXPECT_EQ(ship->GetShotTemplate()->GetModel(), stage->GetModel(4));
  EXPECT_EQ(ship->GetShotTemplate()->GetSpeed(), 3.0f);
  EXPECT_NE(ship->GetHpBar(), nullptr);  // Init has run

  MoverBoss* boss = manager.GetBoss(0);
  EXPECT_EQ(stage->GetBossMover(), boss);
  EXPECT_EQ(boss->GetAppearStart(), 5000);
  EXPECT_EQ(boss->GetHpMax(), 100);
  EXPECT_EQ(boss->GetScore(), 100000);
  EXPECT_EQ(boss->GetModel(), stage->GetModel(1));

  EXPECT_EQ(manager.GetShipSlots()[1], nullptr);
  EXPECT_EQ(manager.GetShipSlots()[2], nullptr);
  EXPECT_TRUE(Positions(manager.GetBossSlots(), 3).empty());
  EXPECT_TRUE(Enemies().empty());
  EXPECT_TRUE(Positions(manager.GetBulletSlots(), 500).empty());
  EXPECT_TRUE(Items().empty());
  EXPECT_THAT(Positions(manager.GetLineSlots(), 4),
              ::testing::ElementsAre(At(50, 0), At(50, 100), At(0, 50), At(100, 50)));
  Mover* const* lines = manager.GetLineSlots();
  EXPECT_EQ(lines[0]->GetModel(), stage->GetModel(8));
  EXPECT_EQ(lines[3]->GetModel(), stage->GetModel(9));
  EXPECT_EQ(manager.GetStageTime(), 0);

  for (int slot = 0; slot < 10; ++slot) {
    ASSERT_NE(stage->GetModel(slot), nullptr) << slot;
    EXPECT_TRUE(stage->GetModel(slot)->IsLoaded()) << slot;
  }
  EXPECT_NE(stage->GetSoundManager().GetSound(0), nullptr);
  EXPECT_NE(stage->GetSoundManager().GetSound(1), nullptr);
}

TEST_F(StageSetUpTest, StageOnesScriptOpensWithEnemiesAtFiftyAndAHundredAndItemsFromAHundred) {
  ASSERT_TRUE(SetUpStage1(*stage, &pad));
  UpdateUntil(50);
  EXPECT_TRUE(Enemies().empty());
  UpdateUntil(51);
  EXPECT_THAT(Enemies(), ::testing::ElementsAre(At(30, -10)));
  UpdateUntil(100);
  EXPECT_TRUE(Items().empty());
  UpdateUntil(101);
  EXPECT_THAT(Enemies(), ::testing::ElementsAre(At(30, -10), At(70, -10)));
  EXPECT_THAT(Items(), ::testing::ElementsAre(At(80, -10)));
  UpdateUntil(150);
  EXPECT_EQ(Enemies().size(), 2u);
  UpdateUntil(151);
  EXPECT_THAT(Enemies(), ::testing::ElementsAre(At(30, -10), At(70, -10), At(30, -10)));
  EXPECT_THAT(Items(), ::testing::ElementsAre(At(80, -10), At(80, -10), At(10, -10)));
  // The first enemy fired its 12-way spread at ages 10, 25, 40 ... from its entry at t = 50.
  MoverEnemy* first = Manager().GetEnemySlots()[0];
  EXPECT_EQ(first->GetAge(), 101);
  EXPECT_FALSE(Positions(Manager().GetBulletSlots(), 500).empty());
}

// A working directory holding a copy of the game's data without one file.
struct DataCopyWithout {
  fs::path directory;
  fs::path previous = fs::current_path();

  explicit DataCopyWithout(const char* missing) {
    directory = fs::temp_directory_path() / ("vorlith_setup_" + std::to_string(getpid()));
    fs::remove_all(directory);
    fs::copy(VORLITH_DATA_DIR, directory, fs::copy_options::recursive);
    fs::remove(directory / missing);
    fs::current_path(directory);
  }
  ~DataCopyWithout() {
    fs::current_path(previous);
    fs::remove_all(directory);
  }
};

TEST_F(StageSetUpTest, AMissingModelFailsTheStageBeforeAnyMoverIsMade) {
  DataCopyWithout data("model/boss0.x");
  EXPECT_FALSE(SetUpStage1(*stage, &pad));
  MoverManager& manager = Manager();
  EXPECT_EQ(manager.GetBulletPrototypeCount(), 0u);
  EXPECT_EQ(manager.GetItemPrototypeCount(), 0u);
  EXPECT_EQ(manager.GetEnemyPrototypeCount(), 0u);
  EXPECT_EQ(manager.GetBossCount(), 0u);
  EXPECT_EQ(manager.GetShipSlots()[0], nullptr);
  EXPECT_TRUE(Positions(manager.GetLineSlots(), 4).empty());
  EXPECT_EQ(stage->GetMyShip(), nullptr);
  EXPECT_EQ(stage->GetBossMover(), nullptr);
  EXPECT_TRUE(stage->GetModel(0)->IsLoaded());  // slots below the missing one stay loaded
}

TEST_F(StageSetUpTest, AMissingSoundFileFallsBackToTheBuiltInCopy) {
  DataCopyWithout data("sound/se_sob02.wav");
  EXPECT_TRUE(SetUpStage1(*stage, &pad));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StageSetUpTest, StageTwoRefusesItsBulletAndMakesNoShip) {
  EXPECT_FALSE(SetUpStage2(*stage, &pad));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].first, "Error! CStage::SetMoverBullet()");
  EXPECT_EQ(dialogs.shown[0].second, "モデルが登録されていない");
  EXPECT_EQ(Manager().GetBulletPrototypeCount(), 0u);
  EXPECT_EQ(Manager().GetShipSlots()[0], nullptr);
  EXPECT_EQ(stage->GetMyShip(), nullptr);
}

TEST(StageSetUpGameTest, TheGameBuildsStageOneOnZAndFallsBackFromStageTwoToTheTitle) {
  vorlith::testing::TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  test.input->keys.z = true;
  app.Update();
  ASSERT_EQ(app.GetScene(), GameApp::kPlayScene);
  ASSERT_NE(app.GetStage(), nullptr);
  EXPECT_EQ(app.GetStage()->GetManager()->GetBossCount(), 1u);
  EXPECT_TRUE(test.dialogs->shown.empty());

  EXPECT_FALSE(app.StartStage(2));
  EXPECT_EQ(app.GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(app.GetStage(), nullptr);
  EXPECT_EQ(app.GetStageNumber(), 1);
  ASSERT_EQ(test.dialogs->shown.size(), 1u);
  EXPECT_EQ(test.dialogs->shown[0].first, "Error! CStage::SetMoverBullet()");
}

}  // namespace
}  // namespace vorlith
