#include "app/GameApp.h"

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
    UpdatePlayScene(framePad);
  } else if (scene == kTitleScene) {
    UpdateTitleScene(framePad);
  } else if (scene == kOptionsScene) {
    UpdateOptionsScene(framePad);
  }
}

// After a start that failed, Z starts again only once it has been let go.
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
  if (!pad.buttons[0]) {
    startWaitsForRelease = false;
    return;
  }
  if (startWaitsForRelease) return;
  scene = kPlayScene;
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

bool GameApp::TakeEscape() {
  if (scene != kOptionsScene) return false;
  options.Escape();
  if (!options.IsOpen()) LeaveOptions();
  return true;
}

// Leaving saves; the title's start then waits for the fire key to be let go.
void GameApp::LeaveOptions() {
  settings = options.GetSettings();
  ApplySettings();
  if (settingsSaver) settingsSaver(settings);
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
  if (OffersOptions()) debugFont.DrawText("O: options", 290, 440, kHint, TopLeft);
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
    case StageRequest::kNextStage:
      EndStage();
      stageNumber += 1;
      StartStage(stageNumber);
      break;
    case StageRequest::kSameStage:
      EndStage();
      StartStage(stageNumber);
      break;
    case StageRequest::kTitle:
      EndStage();
      score = 0;
      stageNumber = 1;
      scene = kTitleScene;
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
