#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "StageTestKit.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;

// What stage one sets up shows in the committed replays' traces; here, its failure.
struct StageSetUpTest : ::testing::Test, testkit::StageRun {
  void SetUp() override { ASSERT_TRUE(stage->Init()); }
};

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
