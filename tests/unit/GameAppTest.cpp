#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "stage/StageSetUp.h"

namespace vorlith {
namespace {

TEST(GameAppTest, TheTitleFrameIsDarkBlueWithThePromptInWhite) {
  testkit::GameRun game({"vorlith", "-w", "800", "-h", "600"});
  EXPECT_EQ(game.test.window->GetTitle(), "[061216] Vorlith ver0.24");
  game.Frame();
  const auto& clears = game.test.device->GetClears();
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(std::tuple(clears[0].argb, clears[0].viewport.width, clears[0].viewport.height,
                       clears[0].depth),
            std::tuple(0xFF000040u, 800, 600, true));
  ASSERT_EQ(game.Texts(), std::vector<std::string>{"Press Z key"});
  const auto* prompt = &game.test.device->GetTexts()[0];
  EXPECT_EQ(std::tuple(prompt->x, prompt->y, prompt->argb), std::tuple(250, 150, 0xFFFFFFFFu));
  game.test.device->SetBeginSceneFails(true);  // a frame that cannot begin is skipped whole
  game.app->Draw();
  EXPECT_EQ(std::tuple(game.test.device->GetPresentCount(), clears.size()), std::tuple(1, 1u));
}

// A stage that cannot start (its data gone) sends the title back, and only a new press of Z
// tries again: held Z does not retry it in every frame.
TEST(GameAppTest, AFailedStageStartWaitsForANewPressOfZ) {
  testkit::GameRun game;
  int starts = 0;
  game.app->SetStageSetUp(1, [&](CStage& stage) { return ++starts > 2 && SetUpStage1(stage); });
  const bool held[] = {true, true, true, false, true, true, false, true, true};
  std::string scenes;
  for (bool z : held) {
    game.test.input->keys.z = z;
    game.Frame();
    scenes += game.app->GetScene() == GameApp::kPlayScene ? 'P' : 'T';
  }
  EXPECT_EQ(scenes, "TTTTTTTPP");
  EXPECT_EQ(starts, 3);
}

}  // namespace
}  // namespace vorlith
