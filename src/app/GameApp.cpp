#include "app/GameApp.h"

#include <algorithm>

#include "app/GraphicsDevice.h"
#include "app/Hud.h"
#include "graphics/Transforms.h"
#include "input/KeyInput.h"
#include "input/PadState.h"
#include "platform/AudioDevice.h"
#include "platform/Dialogs.h"
#include "platform/InputDevices.h"
#include "stage/CStage.h"
#include "stage/StageSetUp.h"

namespace vorlith {

namespace {
constexpr std::uint32_t kTitleBackground = 0xFF000040;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kPanelBackground = 0xFF323232;
constexpr std::uint32_t kFieldBackground = 0xFF000000;
constexpr std::uint32_t kHint = 0xFF8080C0;

StartupOptions WindowOf(const Settings& settings) {
  StartupOptions start;
  start.windowWidth = settings.windowWidth;
  start.windowHeight = settings.windowHeight;
  start.fullScreen = settings.fullScreen;
  return start;
}

}  // namespace

GameApp::GameApp(std::unique_ptr<Platform> platform, const std::vector<std::string>& args,
                 const Settings& settings)
    : WindowApp(std::move(platform), args, kTitle, true, WindowOf(settings)),
      pacer(GetClock()),
      lastStage(kLastPlayableStage),
      settings(settings) {
  SetStageSetUp(1, SetUpStage1);
  SetStageSetUp(2, SetUpStage2);
  if (!IsReady()) return;
  RenderDevice* device = GetGraphicsDevice()->GetDevice();
  debugFont.Create(device, GetDialogs(), 12);
  hudFont.Create(device, GetDialogs(), 18, 0, 300, kHudFace);
  titleFont.Create(device, GetDialogs(), 30);
  optionsFont.Create(device, GetDialogs(), 16);
  ApplySettings();
}

GameApp::~GameApp() {
  EndStage();
}

void GameApp::Update() {
  framePad = GetPadSource().ReadPad();
  fps = pacer.Pace();
  if (scene == kPlayScene) {
    if (inRun && keeper) keeper->RecordFrame(framePad);
    runFrames += 1;
    UpdatePlayScene(framePad);
  } else if (scene == kTitleScene) {
    UpdateTitleScene(framePad);
  } else if (scene == kTableScene) {
    UpdateTableScene(framePad);
  } else if (scene == kOptionsScene) {
    UpdateOptionsScene(framePad);
  }
  heldBefore = framePad;
  if (watch && --watch->framesLeft <= 0) StopWatching();
}

// After a start that failed, Z starts again only once it has been let go. H (or a controller's
// right shoulder button) opens the high score table.
void GameApp::UpdateTitleScene(const PadState& pad) {
  if (OffersOptions()) {
    const OptionsScreen::Held held = ReadHeld();
    // O and Back open it unless the player has given them to an action.
    const Bindings& bound = settings.bindings;
    const bool open = (held.keys.held[kOptionsKey] && !titleHeld.keys.held[kOptionsKey] &&
                       bound.ActionOfKey(kOptionsKey, -1) < 0) ||
                      (held.buttons[kOptionsButton] && !titleHeld.buttons[kOptionsButton] &&
                       bound.ActionOfButton(kOptionsButton, -1) < 0);
    titleHeld = held;
    if (open) {
      options.Open(settings, pad, held);
      scene = kOptionsScene;
      return;
    }
  }
  if (pad.buttons[kTableButton] && !heldBefore.buttons[kTableButton] && !watch) {
    scene = kTableScene;
    return;
  }
  if (!pad.buttons[0]) {
    startWaitsForRelease = false;
    return;
  }
  if (startWaitsForRelease) return;
  scene = kPlayScene;
  StartRun();
  StartStage(stageNumber);
}

bool GameApp::OffersOptions() const {
  return GetInputDevices() && dynamic_cast<KeyInput*>(&GetPadSource()) != nullptr;
}

OptionsScreen::Held GameApp::ReadHeld() const {
  OptionsScreen::Held held;
  InputDevices* devices = GetInputDevices();
  if (!devices) return held;
  if (!devices->ReadKeyboard(held.keys)) held.keys = KeyboardState{};
  for (int i = 0; i < devices->GetControllerCount(); ++i) {
    ControllerState controller;
    if (!devices->ReadController(i, controller)) continue;
    for (int b = 0; b < ControllerState::kButtonCount; ++b)
      held.buttons[b] |= controller.buttons[b];
  }
  return held;
}

// A controller's Back leaves as Esc does, unless a button is awaited. A change of the full
// screen line switches at once (Alt+Enter in between is not undone).
void GameApp::UpdateOptionsScene(const PadState& pad) {
  const OptionsScreen::Held held = ReadHeld();
  const bool back = held.buttons[kOptionsButton] && !titleHeld.buttons[kOptionsButton];
  titleHeld = held;
  if (back && !options.IsWaiting()) options.Escape();
  const bool open = options.Step(pad, held);
  const bool fullScreen = options.GetSettings().fullScreen;
  if (fullScreen != settings.fullScreen) GetGraphicsDevice()->SetFullScreen(fullScreen);
  settings.fullScreen = fullScreen;
  if (!open) LeaveOptions();
}

// Leaving saves; the title's start then waits for the fire key to be let go.
void GameApp::LeaveOptions() {
  settings = options.GetSettings();
  ApplySettings();
  const std::string problem = settingsSaver ? settingsSaver(settings) : std::string();
  if (!problem.empty()) GetDialogs().ShowMessage("Vorlith", problem);
  scene = kTitleScene;
  startWaitsForRelease = true;
}

void GameApp::ApplySettings() {
  if (auto* input = dynamic_cast<KeyInput*>(&GetPadSource())) input->SetBindings(settings.bindings);
  PauseControls pause;
  for (int i = 0; i < Bindings::kPerAction; ++i) {
    pause.keys[i] = settings.bindings.keys[Bindings::kPause][i];
    pause.buttons[i] = settings.bindings.buttons[Bindings::kPause][i];
  }
  if (Window* window = GetWindow()) window->SetPauseControls(pause);
  if (AudioSystem* audio = GetAudioSystem()) audio->SetEffectGain(settings.Gain());
  SetPauseWhenUnfocused(settings.pauseWhenUnfocused);
}

void GameApp::Draw() {
  GraphicsDevice* graphics = GetGraphicsDevice();
  if (!graphics->BeginScene()) return;
  if (scene == kPlayScene) {
    StepDrawnFrame();
    DrawPlayScene();
  } else if (scene == kTitleScene) {
    DrawTitleScene();
  } else if (scene == kTableScene) {
    GetScreenQuad().Begin2D();
    graphics->Clear(kTitleBackground);
    static const std::vector<ScoreEntry> none;
    scoreScreen.Draw(titleFont, hudFont, keeper ? keeper->GetTable() : none);
  } else if (scene == kOptionsScene) {
    DrawOptionsScene();
  }
  graphics->EndScene();
  graphics->Present();
}

void GameApp::DrawTitleScene() {
  GetScreenQuad().Begin2D();
  GetGraphicsDevice()->Clear(kTitleBackground);
  titleFont.DrawText("Press Z key", 250, 150, kWhite, TopLeft);
  if (keeper) {
    ScoreScreen::DrawTitleLines(hudFont, BestScore(), hasLastRun ? &lastRun : nullptr, lastPlace);
  }
  if (OffersOptions()) debugFont.DrawText("O key: options", 290, 440, kHint, TopLeft);
}

void GameApp::DrawOptionsScene() {
  GetScreenQuad().Begin2D();
  GetGraphicsDevice()->Clear(kTitleBackground);
  options.Draw(optionsFont);
}

// ---- Stage runs ---------------------------------------------------------------------------

void GameApp::SetStageSetUp(int number, StageSetUp setUp) {
  setUps[number] = std::move(setUp);
}

bool GameApp::StartStage(int number) {
  EndStage();
  stage =
      std::make_unique<CStage>(GetGraphicsDevice()->GetDevice(), GetAudioSystem(), GetDialogs());
  stage->SetComboCounter(&combo);
  stage->SetMoverCounts(&moverCounts);
  stage->SetLastStage(number >= lastStage);
  if (!stage->Init()) return AbandonStart();
  const auto setUp = setUps.find(number);
  if (setUp != setUps.end() && setUp->second && !setUp->second(*stage)) {
    return AbandonStart();
  }
  if (!stage->GetShipSlots()[0]) {
    GetDialogs().ShowMessage("Error", "自機が登録されていません。\nMyShip is not registered.");
    return AbandonStart();
  }
  currentTime = 0;
  fps = 0;
  return true;
}

// A stage that cannot be played is never stepped or drawn: back to the title as after V, so
// that the next Z starts stage 1 again.
bool GameApp::AbandonStart() {
  EndStage();
  inRun = false;  // a run that cannot go on is not kept
  startWaitsForRelease = true;
  scene = kTitleScene;
  stageNumber = 1;
  score = 0;
  return false;
}

void GameApp::EndStage() {
  if (!stage) return;
  stage->ClearMovers();
  stage->ReleaseAllModels();
  stage.reset();
}

// Step and move, then the request the result overlays left in the previous drawing.
void GameApp::UpdatePlayScene(const PadState& pad) {
  if (!stage) return;
  stage->Step(pad);
  stage->MoveAll(pad);
  switch (stage->GetRequest()) {
    case StageRequest::kNextStage:  // on the last stage: the end of the run
      EndStage();
      if (stageNumber >= lastStage) {
        EndRun();
        break;
      }
      stageNumber += 1;
      StartStage(stageNumber);
      break;
    case StageRequest::kSameStage:
      EndStage();
      StartStage(stageNumber);
      break;
    case StageRequest::kTitle:
      EndStage();
      EndRun();
      break;
    case StageRequest::kNone:
      break;
  }
}

// What a drawn play frame changes, before any of it is drawn (a frame that cannot be drawn
// changes nothing): the stage's result step and combo, then its points into the score.
void GameApp::StepDrawnFrame() {
  if (!stage) return;
  stage->StepDrawnFrame(framePad);
  score = Hud::AddGain(score, static_cast<std::uint32_t>(stage->TakeScore()));
}

// ---- Runs and high scores ----------------------------------------------------------------

void GameApp::StartRun() {
  inRun = !watch;
  runFrames = 1;
  if (inRun && keeper) {
    keeper->BeginRun(combo.GetCount(), combo.GetTimer());
    keeper->RecordFrame(framePad);
  }
}

// The run is over: kept (not when watched), then the title with score and stage number reset.
void GameApp::EndRun() {
  if (inRun) {
    lastRun = RunResult{score, stageNumber, runFrames};
    lastPlace = keeper ? keeper->EndRun(lastRun) : -1;
    hasLastRun = true;
  }
  inRun = false;
  score = 0;
  stageNumber = 1;
  scene = kTitleScene;
}

std::uint32_t GameApp::BestScore() const {
  const std::uint32_t last = hasLastRun ? lastRun.score : 0;
  return keeper->GetTable().empty() ? last : std::max(keeper->GetTable().front().run.score, last);
}

void GameApp::UpdateTableScene(const PadState& pad) {
  const std::size_t entries = keeper ? keeper->GetTable().size() : 0;
  switch (scoreScreen.Update(pad, heldBefore, entries)) {
    case ScoreScreen::Action::Back:
      scene = kTitleScene;
      break;
    case ScoreScreen::Action::Watch:
      StartWatching();
      break;
    case ScoreScreen::Action::None:
      break;
  }
}

// The entry's replay takes the place of the player's pads from the next frame, on a game
// as fresh as a program start; the player's own combo and counts wait until it ends.
void GameApp::StartWatching() {
  std::string why;
  EntryReplay replay = keeper->WatchEntry(scoreScreen.GetSelection(), why);
  if (!replay.pads) {
    GetDialogs().ShowMessage("Vorlith", why);
    return;
  }
  watch = std::make_unique<Watch>();
  watch->combo = combo;
  watch->moverCounts = moverCounts;
  watch->framesLeft = replay.frames + 1;  // and this frame
  combo = ComboCounter();
  combo.Resume(replay.comboCount, replay.comboTimer);
  moverCounts = MoverCounts();
  watch->playerPads = SwapPadSource(std::move(replay.pads));
  startWaitsForRelease = false;  // its first frame's Z starts the run
  scene = kTitleScene;
}

void GameApp::StopWatching() {
  EndStage();
  SwapPadSource(std::move(watch->playerPads));
  combo = watch->combo;
  moverCounts = watch->moverCounts;
  watch.reset();
  inRun = false;
  score = 0;
  stageNumber = 1;
  currentTime = 0;
  scene = kTableScene;
}

bool GameApp::TakeEscape() {
  if (scene == kOptionsScene) {
    options.Escape();
    if (!options.IsOpen()) LeaveOptions();
    return true;
  }
  if (watch) {
    StopWatching();
    return true;
  }
  if (scene != kTableScene) return false;
  scene = kTitleScene;
  return true;
}

void GameApp::DrawPlayScene() {
  if (!stage) return;
  GraphicsDevice* graphics = GetGraphicsDevice();
  SetHudViewport(graphics->GetDevice());
  graphics->Clear(kPanelBackground);
  Hud::DrawDebug(debugFont, *stage, moverCounts, currentTime, fps);
  SetupPlayfieldScene(graphics->GetDevice());
  graphics->Clear(kFieldBackground);
  stage->Draw();
  Hud::DrawLine(hudFont, stageNumber, score);
}

}  // namespace vorlith
