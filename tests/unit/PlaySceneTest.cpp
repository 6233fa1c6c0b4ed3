#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "FakeClock.h"
#include "StageTestKit.h"
#include "TestPlatform.h"
#include "app/FramePacer.h"
#include "app/WindowApp.h"

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

using testing::TestPlatform;
using Event = WindowEventType;

// Logs frames ('U' for Update, 'D' for Draw) and lets a test act after each Update.
class LoggingApp : public WindowApp {
 public:
  explicit LoggingApp(TestPlatform& test, std::vector<std::string> args = {"/opt/game/vorlith"})
      : WindowApp(test.Take(), args, "Test title", true) {}
  void Update() override {
    log += 'U';
    if (afterUpdate) afterUpdate(++updates);
  }
  void Draw() override { log += 'D'; }

  int updates = 0;
  std::string log;
  std::function<void(int)> afterUpdate;
};

class WindowAppTest : public ::testing::Test {
 protected:
  TestPlatform test;
  LoggingApp app{test};
};

// The window has the title and the icon beside the program. Alt+Enter and the maximize button
// both switch full screen; help with the empty path does nothing; an expose presents the last
// picture again and draws nothing (a drawn frame steps the game).
TEST_F(WindowAppTest, EveryWaitingEventIsHandledBeforeTheNextFrame) {
  EXPECT_EQ(std::pair(test.window->title, test.window->iconPath),
            (std::pair<std::string, std::string>("Test title", "/opt/game/game.ico")));
  EXPECT_EQ(WindowApp::DirectoryOf("vorlith"), "");
  app.afterUpdate = [&](int frame) {
    const std::vector<std::vector<Event>> events = {
        {Event::FocusGained, Event::Expose, Event::Help, Event::Maximize, Event::Shown},
        {Event::ToggleFullScreen, Event::Escape}};
    EXPECT_EQ(test.window->fullScreen, frame == 2);
    for (Event e : events.at(frame - 1)) test.window->PushEvent(e);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(std::tuple(app.log, test.device->presentCount, test.window->fullScreen,
                       test.window->openedUrls.size(), test.dialogs->shown.size()),
            std::tuple("UDUD", 1, false, 0u, 0u));
}

TEST_F(WindowAppTest, InTheBackgroundTheLoopWaitsInsteadOfRunningFrames) {
  test.window->waitHook = [&](int waits) {
    if (waits == 3) test.window->PushEvent(Event::Expose);  // a repaint only presents
    if (waits == 5) test.window->focused = true;
  };
  app.afterUpdate = [&](int frame) {
    if (frame == 1) test.window->focused = false;
    if (frame == 2) test.window->PushEvent(Event::Close);
  };
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(std::tuple(app.log, test.device->presentCount, test.window->waitCount),
            std::tuple("UDUD", 1, 5));
}

// P or Start pauses until the next one: no frames; the last picture is presented again
// under the label, and so is it on a repaint and after Alt+Enter, without drawing. Esc still
// quits.
TEST_F(WindowAppTest, PauseRunsNoFramesUntilPressedAgainAndEscStillQuits) {
  test.window->waitHook = [&](int waits) {
    EXPECT_EQ(std::tuple(app.IsPaused(), test.device->pauseLabel, test.audio->paused),
              std::tuple(true, true, true));
    const Event arriving[] = {Event::None,  Event::Expose, Event::ToggleFullScreen,
                              Event::Pause, Event::None,   Event::Escape};
    if (arriving[waits - 1] != Event::None) test.window->PushEvent(arriving[waits - 1]);
  };
  app.afterUpdate = [&](int frame) {
    EXPECT_FALSE(test.device->pauseLabel);
    EXPECT_FALSE(test.audio->paused);
    test.window->PushEvent(Event::Pause);
    if (frame == 2) test.window->focused = false;  // both pauses at once: Esc still quits
  };
  EXPECT_EQ(app.Run(), 0);
  // Presents, all labelled: two pauses, the repaint and the switch.
  EXPECT_EQ(std::tuple(app.log, test.window->waitCount, test.device->labelledPresentCount,
                       test.device->presentCount, test.window->fullScreen),
            std::tuple("UDUD", 6, 4, 4, true));
}

// A loop that may wait spends the time before a frame waiting for events, which end the
// wait early; the frame runs once the gate opens. The browser's loop: passes that never
// block, frames only when the gate lets them run, every waiting event taken first.
TEST_F(WindowAppTest, RunOnceRunsFramesThroughTheGateAndWaitsForEventsOnlyWhereItMay) {
  std::int64_t wait = 16;
  app.SetFrameGate([&] { return wait; });
  ASSERT_TRUE(app.Start());
  test.window->waitHook = [&](int) { test.window->PushEvent(Event::Expose); };
  using Pass = WindowApp::Pass;
  EXPECT_EQ(app.RunOnce(true), Pass::Idle);
  // The event that ended the wait, handled.
  EXPECT_EQ(std::pair(test.window->lastWaitMs, test.device->presentCount), std::pair(16, 1));
  wait = 1;
  test.window->waitHook = nullptr;
  EXPECT_EQ(app.RunOnce(true), Pass::Idle);
  EXPECT_EQ(test.window->lastWaitMs, 1);
  wait = 0;
  EXPECT_EQ(app.RunOnce(true), Pass::Frame);

  wait = 1;
  EXPECT_EQ(app.RunOnce(false), Pass::Idle);
  wait = 0;
  test.window->PushEvent(Event::Expose);
  EXPECT_EQ(app.RunOnce(false), Pass::Event);
  EXPECT_EQ(app.RunOnce(false), Pass::Frame);
  test.window->focused = false;
  EXPECT_EQ(app.RunOnce(false), Pass::Idle);
  // The two waits above only; in the background, as Run would be.
  EXPECT_EQ(std::pair(test.window->waitCount, test.audio->paused), std::pair(2, true));
  test.window->PushEvent(Event::Escape);
  EXPECT_EQ(app.RunOnce(false), Pass::Event);
  EXPECT_EQ(std::pair(app.IsRunning(), app.log), std::pair(false, std::string("UDUD")));
}

// (Bad sizes give the no-device message and status 1 in the end-to-end command-line test.)
TEST_F(WindowAppTest, WithoutAWindowTheUserIsToldAndTheExitStatusIsOne) {
  TestPlatform windowless;
  windowless.window->createFails = true;
  LoggingApp failed(windowless);
  EXPECT_FALSE(failed.IsReady());
  using Shown = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(windowless.dialogs->shown, (Shown{{"Test title", WindowApp::kNoDeviceMessage}}));
  EXPECT_EQ(failed.Run(), 1);
  EXPECT_EQ(failed.log, "");
}

using Sleeps = std::vector<std::uint32_t>;

TEST(FramePacerTest, WaitsOutSixteenMillisecondsAndCountsTheRate) {
  FakeClock clock(0xFFFFFFD0u);  // the tick counter wraps during the run
  FramePacer pacer(&clock);
  EXPECT_EQ(pacer.Pace(), 10);  // the first frame counts as 100 ms and does not wait
  EXPECT_EQ(clock.sleeps, Sleeps{});
  const struct {
    std::uint32_t work;
    Sleeps sleeps;
    int fps;  // -1: not checked
  } frames[] = {
      {5, {11}, 62}, {16, {}, 62},
      {40, {}, 25},                                                    // past the wrap
      {0, {16}, 62}, {static_cast<std::uint32_t>(-100000), {16}, -1},  // a clock stepping back
  };
  for (const auto& frame : frames) {
    clock.sleeps.clear();
    clock.now += frame.work;
    const int fps = pacer.Pace();
    EXPECT_TRUE(frame.fps < 0 || fps == frame.fps) << frame.work << ": " << fps;
    EXPECT_EQ(clock.sleeps, frame.sleeps) << frame.work;
  }
}

// A clock that does not move while sleeping: the frame then measures 0 ms.
struct FrozenClock : FakeClock {
  void Sleep(std::uint32_t) override {}
};

// A loop that may not block asks first: whenever the wait is over, Pace does not sleep. A
// frame that took no time does not divide by zero.
TEST(FramePacerTest, TheWaitAskedBeforehandIsTheSleepPaceWouldTake) {
  FakeClock clock(0xFFFFFFF8u);
  FramePacer pacer(&clock);
  EXPECT_EQ(pacer.GetWaitMs(), 0);
  pacer.Pace();
  const struct {
    std::uint32_t work;
    std::int64_t wait;
  } steps[] = {{0, 16}, {5, 11}, {11, 0}, {30, -14}, {static_cast<std::uint32_t>(-100), 16}};
  for (const auto& step : steps) {
    clock.now += step.work;
    EXPECT_EQ(pacer.GetWaitMs(), step.wait) << step.work;
    if (step.wait > 0) continue;
    clock.sleeps.clear();
    pacer.Pace();
    EXPECT_EQ(clock.sleeps, Sleeps{}) << step.work;
  }
  FrozenClock frozen;
  FramePacer still(&frozen);
  still.Pace();
  EXPECT_EQ(still.Pace(), 1000);  // a frame of 0 ms counts as 1 ms
}

}  // namespace
}  // namespace vorlith
