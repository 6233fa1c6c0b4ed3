#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "app/GameApp.h"

namespace vorlith {
namespace {

using testing::TestPlatform;

TEST(GameAppTest, StartsOnTheTitleWithItsFontsAndTheWindowTitle) {
  TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  ASSERT_TRUE(app.IsReady());
  EXPECT_EQ(test.window->GetTitle(), "[061216] Vorlith ver0.24");
  EXPECT_TRUE(test.device->HasDepthBuffer());
  EXPECT_EQ(app.GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(app.GetStageNumber(), 1);
  EXPECT_EQ(app.GetScore(), 0u);
  EXPECT_EQ(test.device->GetLiveFontCount(), 3);  // debug, HUD and title fonts
  EXPECT_TRUE(test.dialogs->shown.empty());
}

TEST(GameAppTest, TheTitleFrameIsDarkBlueWithThePromptInWhite) {
  TestPlatform test;
  GameApp app(test.Take(), {"vorlith", "-w", "800", "-h", "600"});
  app.Update();
  app.Draw();
  const auto& clears = test.device->GetClears();
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].argb, 0xFF000040u);
  EXPECT_EQ(clears[0].viewport.width, 800);
  EXPECT_EQ(clears[0].viewport.height, 600);
  EXPECT_TRUE(clears[0].depth);
  const auto& texts = test.device->GetTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "Press Z key");
  EXPECT_EQ(texts[0].x, 250);
  EXPECT_EQ(texts[0].y, 150);
  EXPECT_EQ(texts[0].argb, 0xFFFFFFFFu);
  EXPECT_FALSE(test.device->IsInScene());
  EXPECT_EQ(test.device->GetPresentCount(), 1);
}

TEST(GameAppTest, AFrameThatCannotBeginIsSkippedWhole) {
  TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  test.device->SetBeginSceneFails(true);
  app.Draw();
  EXPECT_EQ(test.device->GetPresentCount(), 0);
  EXPECT_TRUE(test.device->GetClears().empty());
  test.device->SetBeginSceneFails(false);
  app.Draw();
  EXPECT_EQ(test.device->GetPresentCount(), 1);
}

TEST(GameAppTest, UpdateReadsInputAndPacesTheFrame) {
  TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  app.Update();
  EXPECT_EQ(app.GetFps(), 10);
  test.clock->Advance(5);
  app.Update();
  ASSERT_EQ(test.clock->GetSleeps().size(), 1u);
  EXPECT_EQ(test.clock->GetSleeps()[0], 11u);
  EXPECT_EQ(app.GetFps(), 62);
  EXPECT_EQ(app.GetKeyInput()->GetPad(0)->buttons[0], 0);
  test.input->keys.x = true;
  app.Update();
  EXPECT_EQ(app.GetKeyInput()->GetPad(0)->buttons[1], 1);
  EXPECT_EQ(app.GetScene(), GameApp::kTitleScene);
}

TEST(GameAppTest, ZOnTheTitleTriesTheStageAndComesBackWithoutAPlayerShip) {
  TestPlatform test;
  GameApp app(test.Take(), {"vorlith"});
  app.SetStageSetUp(1, nullptr);
  test.input->keys.z = true;
  app.Update();
  EXPECT_EQ(app.GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(app.GetStageNumber(), 1);
  ASSERT_EQ(test.dialogs->shown.size(), 1u);
  EXPECT_EQ(test.dialogs->shown[0].first, "Error");
  EXPECT_EQ(test.dialogs->shown[0].second, "自機が登録されていません。\nMyShip is not registered.");
}

TEST(GameAppTest, BadSizesEndInTheMessageAndStatusOne) {
  for (const char* value : {"0", "-1", "abc", "100000"}) {
    TestPlatform test;
    GameApp app(test.Take(), {"vorlith", "-w", value});
    EXPECT_EQ(app.Run(), 1) << value;
    ASSERT_EQ(test.dialogs->shown.size(), 1u) << value;
    EXPECT_EQ(test.dialogs->shown[0].first, "[061216] Vorlith ver0.24");
  }
}

}  // namespace
}  // namespace vorlith
