#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

TEST(GameAppTest, TheTitleFrameIsDarkBlueWithThePromptInWhite) {
  testkit::GameRun game({"vorlith", "-w", "800", "-h", "600"});
  EXPECT_EQ(game.test.window->title, "[061216] Vorlith ver0.24");
  game.Frame();
  const auto& clears = game.test.device->clears;
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(std::tuple(clears[0].argb, clears[0].viewport.width, clears[0].viewport.height,
                       clears[0].depth),
            std::tuple(0xFF000040u, 800, 600, true));
  ASSERT_EQ(game.Texts(), (std::vector<std::string>{"Press Z key", "O key: options"}));
  const auto* prompt = &game.test.device->texts[0];
  EXPECT_EQ(std::tuple(prompt->x, prompt->y, prompt->argb), std::tuple(250, 150, 0xFFFFFFFFu));
  game.test.device->beginSceneFails = true;  // a frame that cannot begin is skipped whole
  game.app->Draw();
  EXPECT_EQ(std::tuple(game.test.device->presentCount, clears.size()), std::tuple(1, 1u));
}

// The file's window size gives way to the command line's; O opens the options screen, Esc
// leaves it (saving, the game going on; a failed save told in a message box) and the title's Z
// then waits to be let go.
TEST(GameAppTest, OptionsOpenWithOAndLeaveWithEscSavingAndTheCommandLineBeatsTheFile) {
  Settings settings;
  settings.windowWidth = 1024;
  settings.windowHeight = 700;
  settings.volume = 50;
  testkit::GameRun game({"vorlith", "-ww", "800"}, nullptr, settings);
  int width = 0, height = 0;
  game.test.window->GetClientSize(width, height);
  EXPECT_EQ(std::tuple(width, height), std::tuple(800, 700));
  EXPECT_FLOAT_EQ(game.app->GetAudioSystem()->GetEffectGain(), 0.5f);
  std::vector<Settings> saved;
  game.app->SetSettingsSaver([&saved](const Settings& s) {
    saved.push_back(s);
    return std::string("The settings were not saved: full");
  });
  auto& keys = game.test.input->keys.held;
  keys[testing::HeldKeys::kO] = true;
  game.Frame();
  ASSERT_EQ(game.app->GetScene(), GameApp::kOptionsScene);
  EXPECT_EQ(game.Texts().at(1), "volume");
  keys[testing::HeldKeys::kO] = false;
  keys[testing::HeldKeys::kZ] = true;  // "volume": fire raises it a step
  game.Frame();
  ASSERT_TRUE(game.app->Start());
  game.test.window->PushEvent(WindowEventType::Escape);
  EXPECT_EQ(game.app->RunOnce(false), WindowApp::Pass::Event);
  EXPECT_TRUE(game.app->IsRunning());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].volume, 60);
  EXPECT_EQ(game.test.dialogs->shown, (std::vector<std::pair<std::string, std::string>>{
                                          {"Vorlith", "The settings were not saved: full"}}));
  EXPECT_FLOAT_EQ(game.app->GetAudioSystem()->GetEffectGain(), 0.6f);
  game.Frame();  // Z still held from the options screen
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
}

}  // namespace
}  // namespace vorlith
