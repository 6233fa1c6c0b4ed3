#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "app/GameApp.h"
#include "graphics/Model.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverMyShip.h"
#include "stage/CStage.h"
#include "stage/MoverManager.h"

namespace vorlith {
namespace {

using testing::TestPlatform;

constexpr const char* kNoShip = "自機が登録されていません。\nMyShip is not registered.";

// A game whose stage 1 is a ship at (50, 90) and a boss that enters at once, already beaten
// when `bossBeaten` is set.
struct Game {
  TestPlatform test;
  std::unique_ptr<GameApp> app;
  Model bossModel{"boss.x"};  // registration asks only that a model is set; never drawn
  bool bossBeaten = false;
  int setUps = 0;

  Game() {
    MoverBullet::ResetVisibleBulletCount();  // program-wide counts other tests may have left
    MoverEnemy::ResetVisibleEnemyCount();
    app = std::make_unique<GameApp>(test.Take(), std::vector<std::string>{"vorlith"});
    app->SetStageSetUp(1, [this](CStage& stage, PadState* pad) {
      setUps += 1;
      auto* ship = new MoverMyShip(pad);
      ship->SetPosition(50, 90, 0);
      ship->SetHp(100);
      stage.SetMoverMyShip(&ship, 1);
      auto* boss = new MoverBoss();
      boss->SetModel(&bossModel);
      boss->SetShot(nullptr, 0, 1, 1);
      if (bossBeaten) boss->SetHp(0);
      return stage.SetMoverBoss(&boss, 1);
    });
  }
  ~Game() { app.reset(); }
  void Frame() {
    app->Update();
    app->Draw();
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : test.device->GetTexts()) texts.push_back(call.text);
    return texts;
  }
  void Press(char key, bool down) {
    if (key == 'z') test.input->keys.z = down;
    if (key == 'c') test.input->keys.c = down;
    if (key == 'v') test.input->keys.v = down;
  }
};

TEST(PlaySceneTest, ZStartsStageOneAndAPlayFrameDrawsPanelFieldAndHud) {
  Game game;
  game.Press('z', true);
  game.Frame();
  ASSERT_EQ(game.app->GetScene(), GameApp::kPlayScene);
  ASSERT_NE(game.app->GetStage(), nullptr);
  EXPECT_EQ(game.app->GetCurrentTime(), 1);  // set to 0 by the start, then drawn once
  const auto& clears = game.test.device->GetClears();
  ASSERT_EQ(clears.size(), 2u);
  EXPECT_EQ(clears[0].argb, 0xFF323232u);
  EXPECT_EQ(clears[1].argb, 0xFF000000u);
  const std::vector<std::string> texts = game.Texts();
  const std::vector<std::string> expected = {
      "Pos(50.00, 90.00)",
      "VisibleBulletNum 0",
      "VisibleEnemyNum 0",
      "KilledEnemyNum " + std::to_string(MoverEnemy::GetKilledEnemyCount()),
      "CurrentTime 0",
      "FPS 0",
      "0",
      "Stage 1",
      "000000000"};
  EXPECT_EQ(texts, expected);
  EXPECT_TRUE(game.test.dialogs->shown.empty());
}

TEST(PlaySceneTest, AHeldKeyTakesEffectAtTheEndOfTheNextUpdate) {
  Game game;
  game.Press('z', true);
  game.Frame();
  game.Press('z', false);
  CStage* first = game.app->GetStage();
  first->GetManager()->AddScore(300);
  first->GetMyShip()->Damage(100);
  game.Press('c', true);
  game.app->Update();  // the ship is finished in this step
  EXPECT_EQ(game.app->GetStage(), first);
  game.app->Draw();  // "Game Over" sees C held
  EXPECT_EQ(first->GetRequest(), 'c');
  EXPECT_EQ(game.Texts()[6], "Game Over");
  EXPECT_EQ(game.app->GetScore(), 301u);
  const int clock = first->GetManager()->GetStageTime();
  EXPECT_EQ(clock, 1);
  game.app->Update();  // stepped and moved once more, then the same stage again
  EXPECT_NE(game.app->GetStage(), nullptr);
  EXPECT_EQ(game.setUps, 2);
  EXPECT_EQ(game.app->GetStage()->GetManager()->GetStageTime(), 0);
  EXPECT_EQ(game.app->GetStageNumber(), 1);
  EXPECT_EQ(game.app->GetScore(), 301u);
  EXPECT_EQ(game.app->GetScene(), GameApp::kPlayScene);
}

TEST(PlaySceneTest, AComboStillRunningAtAContinueIsPaidInTheNewStage) {
  Game game;
  game.Press('z', true);
  game.Frame();
  game.Press('z', false);
  game.app->GetStage()->GetManager()->AddKill();
  game.app->GetStage()->GetManager()->AddKill();
  game.app->GetStage()->GetMyShip()->Damage(100);
  game.Press('c', true);
  game.Frame();
  EXPECT_EQ(game.app->GetCombo().GetCount(), 2);
  game.Press('c', false);
  for (int i = 0; i < 30; ++i) game.Frame();
  EXPECT_EQ(game.setUps, 2);
  EXPECT_EQ(game.app->GetScore(), 1u);  // the ship's own point
  game.Frame();
  EXPECT_EQ(game.app->GetScore(), 401u);
}

TEST(PlaySceneTest, VReturnsToTheTitleAndAHeldZStartsAgainAtOnce) {
  Game game;
  game.Press('z', true);
  game.Frame();
  game.app->GetStage()->GetManager()->AddScore(500);
  game.app->GetStage()->GetMyShip()->Damage(100);
  game.Press('v', true);
  game.Frame();
  game.Frame();
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(game.app->GetStage(), nullptr);
  EXPECT_EQ(game.app->GetScore(), 0u);
  game.Press('v', false);
  game.Frame();  // Z is still held
  EXPECT_EQ(game.app->GetScene(), GameApp::kPlayScene);
  EXPECT_EQ(game.setUps, 2);
}

TEST(PlaySceneTest, StageClearLeadsOnAndAStageThatCannotStartBringsBackStageOne) {
  Game game;
  game.bossBeaten = true;
  game.app->SetStageSetUp(2, nullptr);  // a stage number without a set-up
  game.Press('z', true);
  game.Frame();
  game.Press('z', false);
  game.app->GetStage()->GetManager()->AddScore(100);
  game.Press('c', true);
  game.Frame();  // the boss falls in the first step; "Stage Clear!!" with C held
  EXPECT_EQ(game.Texts()[6], "Stage Clear!!");
  EXPECT_EQ(game.app->GetStage()->GetRequest(), 'b');
  game.Frame();  // stage 2 has no set-up and so no ship
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(game.app->GetStage(), nullptr);
  EXPECT_EQ(game.app->GetStageNumber(), 1);
  EXPECT_EQ(game.app->GetScore(), 0u);
  ASSERT_EQ(game.test.dialogs->shown.size(), 1u);
  EXPECT_EQ(game.test.dialogs->shown[0].second, kNoShip);
  game.Press('c', false);
  game.Press('z', true);
  game.Frame();
  EXPECT_EQ(game.app->GetScene(), GameApp::kPlayScene);
  EXPECT_EQ(game.setUps, 2);
}

TEST(PlaySceneTest, AFailedStartShowsOnlyItsOwnMessageAndReturnsToTheTitle) {
  Game game;
  game.app->SetStageSetUp(1, [](CStage&, PadState*) {
    ShowMessageBox("step failed", "Error");
    return false;
  });
  game.Press('z', true);
  game.Frame();
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
  EXPECT_EQ(game.app->GetStage(), nullptr);
  ASSERT_EQ(game.test.dialogs->shown.size(), 1u);
  EXPECT_EQ(game.test.dialogs->shown[0].second, "step failed");

  game.test.audio->Faults().openDevice = true;
  game.Frame();
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
  ASSERT_EQ(game.test.dialogs->shown.size(), 2u);
  EXPECT_EQ(game.test.dialogs->shown[1].first, "Error");
  EXPECT_NE(game.test.dialogs->shown[1].second, kNoShip);
}

}  // namespace
}  // namespace vorlith
