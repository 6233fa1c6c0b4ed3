#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/FramePacer.h"
#include "app/OptionsScreen.h"
#include "app/RunKeeper.h"
#include "app/ScoreScreen.h"
#include "app/Settings.h"
#include "app/WindowApp.h"
#include "graphics/TextFont.h"
#include "input/PadState.h"
#include "stage/ComboCounter.h"
#include "stage/MoverCounts.h"

namespace vorlith {

class CStage;

// The game: the title and play scenes, stage number and score, frame pacing.
class GameApp : public WindowApp {
 public:
  static constexpr const char* kTitle = "[061216] Vorlith ver0.24";
  static constexpr const char* kHudFace = "HGP創英角ﾎﾟｯﾌﾟ体";
  enum Scene : std::int32_t { kPlayScene = 0, kTitleScene = 1, kTableScene = 2, kOptionsScene = 3 };
  static constexpr int kOptionsKey = 18;    // O, on the title
  static constexpr int kOptionsButton = 4;  // a controller's Back, on the title

  // The settings' window size and mode give way to the command line's display options.
  GameApp(std::unique_ptr<Platform> platform, const std::vector<std::string>& args,
          const Settings& settings = Settings{});
  ~GameApp() override;

  // The frame's pad from the pad source, frame pacing, then the scene's logic.
  void Update() override;
  // The scene's picture and its presentation; nothing at all when the frame cannot begin.
  void Draw() override;

  std::int32_t GetScene() const { return scene; }
  std::int32_t GetStageNumber() const { return stageNumber; }
  std::uint32_t GetScore() const { return score; }
  std::int32_t GetFps() const { return fps; }
  std::int32_t GetCurrentTime() const { return currentTime; }
  // The pad the current frame plays with.
  const PadState& GetFramePad() const { return framePad; }
  // The pad a recording of the player keeps for this frame: nothing while the high score
  // table is shown or a replay is watched, whose frames play as a title held idle.
  PadState GetRecordedPad() const { return watch || scene == kTableScene ? PadState{} : framePad; }
  // Milliseconds until the pacer lets the next frame run (0 or less: now).
  std::int64_t GetFrameWaitMs() const { return pacer.GetWaitMs(); }

  // ---- Settings ----------------------------------------------------------------------------
  const Settings& GetSettings() const { return settings; }
  // Called with the settings whenever the player leaves the options screen.
  // The saver returns what the player must be told when the settings were not saved.
  void SetSettingsSaver(std::function<std::string(const Settings&)> saver) {
    settingsSaver = std::move(saver);
  }
  // The options screen opens only from the live keyboard and controllers (not in a replay).
  bool OffersOptions() const;
  const OptionsScreen& GetOptionsScreen() const { return options; }

  // ---- Stage runs -------------------------------------------------------------------------
  // Fills a freshly initialised stage with its sounds, models and movers; false when a step
  // failed (the step has told the user).
  using StageSetUp = std::function<bool(CStage& stage)>;
  // The set-up of one stage number; numbers without one start no stage.
  void SetStageSetUp(int number, StageSetUp setUp);

  // Builds the stage of the given number; true when it is ready to play. When it cannot be
  // played (its start failed, or it has no player ship, which the user is told) the title
  // returns with stage number 1 and score 0.
  bool StartStage(int number);
  // Tears the running stage down, if any.
  void EndStage();
  // C on this stage's "Stage Clear!!" ends the run as V does after "Game Over".
  void SetLastStage(int number) { lastStage = number; }

  // ---- Runs and high scores ---------------------------------------------------------------
  // The keeper of every run the player plays; without one nothing is kept.
  void SetRunKeeper(std::unique_ptr<RunKeeper> runKeeper) { keeper = std::move(runKeeper); }
  // Takes up a combo left open when a replay's first frame was played.
  void ResumeCombo(std::int32_t count, std::int32_t timer) { combo.Resume(count, timer); }
  // The table's entry being watched, played from its replay in place of the player's pads.
  bool IsWatching() const { return watch != nullptr; }
  // Esc on the options screen leaves it (or cancels the key it waits for); while watching it
  // goes back to the table, on the table to the title.
  bool TakeEscape() override;
  CStage* GetStage() const { return stage.get(); }
  const ComboCounter& GetCombo() const { return combo; }
  const MoverCounts& GetMoverCounts() const { return moverCounts; }

 private:
  void UpdateTitleScene(const PadState& pad);
  void UpdateOptionsScene(const PadState& pad);
  void LeaveOptions();
  void ApplySettings();
  OptionsScreen::Held ReadHeld() const;
  void DrawOptionsScene();
  void UpdatePlayScene(const PadState& pad);
  void DrawTitleScene();
  void StepDrawnFrame();
  void DrawPlayScene();
  bool AbandonStart();
  void StartRun();
  void EndRun();
  void UpdateTableScene(const PadState& pad);
  void StartWatching();
  void StopWatching();
  std::uint32_t BestScore() const;

  TextFont debugFont;
  TextFont hudFont;
  TextFont titleFont;  // "Press Z key": made once instead of in every title frame
  TextFont optionsFont;
  std::int32_t scene = kTitleScene;
  std::int32_t stageNumber = 1;
  std::uint32_t score = 0;
  std::int32_t currentTime = 0;
  std::int32_t fps = 0;
  FramePacer pacer;
  PadState framePad;
  std::map<int, StageSetUp> setUps;
  ComboCounter combo;       // runs on across stages
  MoverCounts moverCounts;  // likewise
  std::unique_ptr<CStage> stage;
  bool startWaitsForRelease = false;  // a start failed while Z was held
  int lastStage;

  // What the title and the table show, and the run being played or watched.
  struct Watch {
    std::unique_ptr<PadSource> playerPads;
    ComboCounter combo;
    MoverCounts moverCounts;
    std::int64_t framesLeft = 0;
  };
  std::unique_ptr<RunKeeper> keeper;
  std::unique_ptr<Watch> watch;
  ScoreScreen scoreScreen;
  PadState heldBefore;  // the previous frame's pad, for keys that count as they go down
  bool inRun = false;
  std::int64_t runFrames = 0;
  bool hasLastRun = false;
  RunResult lastRun;
  int lastPlace = -1;
  Settings settings;
  OptionsScreen options;
  OptionsScreen::Held titleHeld;  // the devices in the title's last frame
  std::function<std::string(const Settings&)> settingsSaver;
};

}  // namespace vorlith
