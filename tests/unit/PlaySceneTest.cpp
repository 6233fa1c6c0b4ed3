#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

// A game whose stage 1 is a ship at (50, 90) and a boss that enters at once, already beaten
// when `bossBeaten` is set.
struct Game : testkit::GameRun {
  Model bossModel{"boss.x"};  // registration asks only that a model is set; never drawn
  bool bossBeaten = false;
  int setUps = 0;

  Game() {
    app->SetStageSetUp(1, [this](CStage& stage) {
      setUps += 1;
      testkit::AddStageShip(stage, 50, 90);
      return testkit::AddStageBoss(stage, bossModel, 0, bossBeaten ? 0 : 1);
    });
  }
  ~Game() { app.reset(); }
  void Press(bool z, bool c = false, bool v = false) {
    test.input->keys.held[testing::HeldKeys::kZ] = z;
    test.input->keys.held[testing::HeldKeys::kC] = c;
    test.input->keys.held[testing::HeldKeys::kV] = v;
    Frame();
  }
  void Start() { Press(true); }
  void EndShip() { Stage()->GetMyShip()->Damage(100); }
  std::tuple<int, int, bool> State() const {
    return {app->GetScene(), app->GetStageNumber(), Stage() != nullptr};
  }
};

TEST(PlaySceneTest, ZStartsStageOneWhosePlayFrameDrawsFieldAndHudAndHoldsSoundUnfocused) {
  Game game;
  game.Start();
  const auto& clears = game.test.device->clears;
  ASSERT_EQ(clears.size(), 2u);
  EXPECT_EQ(std::tuple(clears[0].argb, clears[1].argb), std::tuple(0xFF323232u, 0xFF000000u));
  const std::vector<std::string> expected = {"Pos(50.00, 90.00)",
                                             "VisibleBulletNum 0",
                                             "VisibleEnemyNum 0",
                                             "KilledEnemyNum 0",
                                             "CurrentTime 0",
                                             "FPS 0",
                                             "0",
                                             "Stage 1",
                                             "000000000"};
  EXPECT_EQ(game.Texts(), expected);

  // In the background the stage's sound output is held; it goes on with the focus.
  std::vector<bool> heldWhileWaiting, heldInFrames;
  game.test.window->focused = false;
  game.test.window->waitHook = [&](int waits) {
    heldWhileWaiting.push_back(game.test.audio->paused);
    if (waits == 2) game.test.window->focused = true;
  };
  game.app->SetFrameObserver([&] {
    heldInFrames.push_back(game.test.audio->paused);
    game.test.window->PushEvent(WindowEventType::Close);
  });
  EXPECT_EQ(game.app->Run(), 0);
  EXPECT_EQ(heldWhileWaiting, (std::vector<bool>{true, true}));
  EXPECT_EQ(heldInFrames, (std::vector<bool>{false}));
}

// A combo still running at a continue is paid in the new stage.
TEST(PlaySceneTest, AHeldKeyOnGameOverTakesEffectInTheNextUpdateAndAComboRunsOn) {
  Game game;
  game.Start();
  CStage* first = game.Stage();
  first->GetManager()->AddKill();
  first->GetManager()->AddKill();
  game.EndShip();
  game.test.input->keys.held[testing::HeldKeys::kC] = true;
  game.app->Update();  // the ship is finished in this step
  EXPECT_EQ(game.Stage(), first);
  game.app->Draw();  // "Game Over" sees C held
  EXPECT_EQ(std::tuple(first->GetRequest(), game.Stage()),
            std::tuple(StageRequest::kSameStage, first));
  game.Frame();  // the same stage again, from its start
  EXPECT_EQ(std::tuple(game.setUps, game.Stage()->GetManager()->GetStageTime()), std::tuple(2, 0));
  EXPECT_EQ(game.Texts()[4], "CurrentTime 0");
  EXPECT_EQ(game.app->GetCombo().GetCount(), 2);
  for (int i = 0; i < 29; ++i) game.Press(false);
  EXPECT_EQ(game.app->GetScore(), 1u);  // the ship's point
  game.Press(false);
  EXPECT_EQ(game.app->GetScore(), 401u);

  game.EndShip();
  game.Press(true, false, true);  // V on "Game Over", Z held
  game.Press(true);               // the title...
  EXPECT_EQ(game.State(), std::tuple(GameApp::kTitleScene, 1, false));
  game.Press(true);  // ... which starts again at once
  EXPECT_EQ(game.State(), std::tuple(GameApp::kPlayScene, 1, true));
  EXPECT_EQ(game.setUps, 3);
}

// Keeps the runs in memory; its table holds every run ended, best first.
struct FakeKeeper : RunKeeper {
  void BeginRun(std::int32_t, std::int32_t) override {}
  void RecordFrame(const PadState& pad) override { frames += pad.buttons[0] ? "Z" : "-"; }
  int EndRun(const RunResult& run) override {
    ended.push_back(run);
    table.insert(table.begin(), ScoreEntry{run, "2026-12-07 05:42", "run-1.replay"});
    return 1;
  }
  const std::vector<ScoreEntry>& GetTable() const override { return table; }
  EntryReplay WatchEntry(std::size_t, std::string& why) override {
    why = "no replay";
    return {};
  }
  std::string frames;
  std::vector<RunResult> ended;
  std::vector<ScoreEntry> table;
};

// C on the last stage's "Stage Clear!!" ends the run as V after "Game Over" does, and the
// title shows its score and place; on an earlier stage it leads on to the next.
TEST(PlaySceneTest, StageClearEndsTheRunOnTheLastStageAndLeadsOnBeforeIt) {
  Game game;
  game.bossBeaten = true;
  auto keeper = std::make_unique<FakeKeeper>();
  FakeKeeper* kept = keeper.get();
  game.app->SetRunKeeper(std::move(keeper));
  game.Start();
  game.Press(false, true);  // the beaten boss enters and falls: "Stage Clear!!" with C held
  EXPECT_EQ(game.Texts()[6], "Stage Clear!!");
  EXPECT_EQ(game.Texts()[7], "(Game Complete ... C Key)");
  const std::uint32_t score = game.app->GetScore();
  game.Press(false, true);
  EXPECT_EQ(std::tuple(game.State(), game.app->GetScore()),
            std::tuple(std::tuple(GameApp::kTitleScene, 1, false), 0u));
  EXPECT_TRUE(game.test.dialogs->shown.empty());
  ASSERT_EQ(kept->ended.size(), 1u);
  EXPECT_EQ(std::tuple(kept->ended[0].score, kept->ended[0].stage, kept->ended[0].frames),
            std::tuple(score, 1, 3));
  EXPECT_EQ(kept->frames, "Z--");
  game.Press(false);
  char best[32];
  std::snprintf(best, sizeof best, "Best %09u", score);
  EXPECT_EQ(game.Texts(),
            (std::vector<std::string>{"Press Z key", best,
                                      "Last run " + std::string(best + 5) + ": 1st place",
                                      "H key: high scores", "O key: options"}));

  game.app->SetLastStage(2);
  game.app->SetStageSetUp(2, nullptr);  // a stage number without a set-up
  game.Start();
  game.Press(false, true);
  EXPECT_EQ(game.Texts()[7], "(Next Stage ... C Key)");
  game.Press(false, true);  // stage 2 has no set-up and so no ship
  EXPECT_EQ(game.State(), std::tuple(GameApp::kTitleScene, 1, false));
  const testkit::Message noShip = {"Error",
                                   "自機が登録されていません。\nMyShip is not registered."};
  EXPECT_EQ(game.test.dialogs->shown, std::vector<testkit::Message>{noShip});
  EXPECT_EQ(kept->ended.size(), 1u);  // a run that cannot go on is not kept
}

// H opens the table (rows best first, the first chosen); H, X or Esc go back.
TEST(PlaySceneTest, TheTableOpensFromTheTitleAndItsKeysCountAsTheyGoDown) {
  Game game;
  auto keeper = std::make_unique<FakeKeeper>();
  keeper->table = {ScoreEntry{{110100, 1, 5432}, "2026-12-07 05:42", "run-1.replay"},
                   ScoreEntry{{300, 1, 99}, "2026-12-06 23:01", "run-2.replay"}};
  game.app->SetRunKeeper(std::move(keeper));
  std::string scenes;
  for (bool h : {true, true, false, true, false, true}) {
    game.test.input->keys.held[11] = h;  // H
    game.Frame();
    scenes += std::to_string(game.app->GetScene());
  }
  EXPECT_EQ(std::tuple(scenes, game.Texts()[1], game.test.device->texts[1].argb,
                       game.app->GetRecordedPad().buttons[kTableButton]),
            std::tuple("222112", " 1  000110100  stage 1     5432 frames  2026-12-07 05:42",
                       0xFFFFD040u, 0));
  game.test.input->keys.held[11] = false;  // H
  game.test.input->keys.held[29] = true;   // Z: watching an entry without a replay: a message
  game.Frame();
  EXPECT_EQ(game.test.dialogs->shown, (std::vector<testkit::Message>{{"Vorlith", "no replay"}}));
  EXPECT_TRUE(game.app->TakeEscape());
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
  EXPECT_FALSE(game.app->TakeEscape());  // Esc on the title ends the game
}

// A failed start shows only its own message and sends the title back; only a new press of Z
// tries again (held Z does not retry it in every frame). Without a sound device the stage
// fails before its set-up and says nothing of the ship.
TEST(PlaySceneTest, AFailedStartShowsOnlyItsOwnMessageAndWaitsForANewPressOfZ) {
  Game game;
  int starts = 0;
  game.app->SetStageSetUp(1, [&](CStage& stage) {
    if (++starts > 1) return testkit::AddStageShip(stage, 50, 90) != nullptr;
    game.test.dialogs->ShowMessage("Error", "step failed");
    return false;
  });
  std::string scenes;
  for (char z : std::string("ZZZ-ZZ-ZZ")) {
    game.test.audio->faults->openDevice = scenes.size() == 4;
    game.Press(z == 'Z');
    scenes += game.State() == std::tuple(GameApp::kPlayScene, 1, true)     ? 'P'
              : game.State() == std::tuple(GameApp::kTitleScene, 1, false) ? 'T'
                                                                           : '?';
  }
  EXPECT_EQ(std::tuple(scenes, starts), std::tuple("TTTTTTTPP", 2));
  ASSERT_EQ(game.test.dialogs->shown.size(), 2u);
  EXPECT_EQ(game.test.dialogs->shown[0], testkit::Message("Error", "step failed"));
  EXPECT_EQ(game.test.dialogs->shown[1].second.find("MyShip"), std::string::npos);
}

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
  EXPECT_THAT(saved, ::testing::ElementsAre(::testing::Field(&Settings::volume, 60)));
  EXPECT_EQ(game.test.dialogs->shown, (std::vector<std::pair<std::string, std::string>>{
                                          {"Vorlith", "The settings were not saved: full"}}));
  EXPECT_FLOAT_EQ(game.app->GetAudioSystem()->GetEffectGain(), 0.6f);
  game.Frame();  // Z still held from the options screen
  EXPECT_EQ(game.app->GetScene(), GameApp::kTitleScene);
}

}  // namespace
}  // namespace vorlith
