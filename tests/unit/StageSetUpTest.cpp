#include <gtest/gtest.h>

#include <filesystem>

#include "StageTestKit.h"
#include "TestFiles.h"
#include "base/DataDirectory.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;

// What stage one sets up shows in the committed replays' traces; here, its failure.
using StageSetUpTest = testkit::StartedStage;

// Stage 1 with its boss model missing from the data directory, and no sounds there: the
// sounds come from the copies built into the program, one message names the missing file and
// the stage fails before any mover is made.
TEST_F(StageSetUpTest, AMissingModelIsNamedInOneMessageAndFailsTheStageBeforeAnyMover) {
  const testing::ScratchFolder data("vorlith_setup");
  fs::copy(fs::path(VORLITH_DATA_DIR) / "model", data / "model");
  fs::remove(data / "model" / "boss0.x");
  DataDirectory::Set(data.string());
  const bool ready = SetUpStage1(*stage);
  DataDirectory::Set("");
  EXPECT_FALSE(ready);
  EXPECT_NE(stage->GetSoundManager().GetSound(1), nullptr);
  EXPECT_EQ(std::tuple(Manager().GetBulletPrototypeCount(), stage->GetMyShip(),
                       Manager().GetLineSlots()[0]),
            std::tuple(0u, nullptr, nullptr));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].second.find((data / "model/boss0.x").string()), std::string::npos)
      << dialogs.shown[0].second;
}

}  // namespace
}  // namespace vorlith
