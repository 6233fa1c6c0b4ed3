#include "app/GameApp.h"

#include "input/PadState.h"
#include "platform/Dialogs.h"

namespace vorlith {

namespace {
constexpr std::uint32_t kTitleBackground = 0xFF000040;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
}  // namespace

GameApp::GameApp(std::unique_ptr<Platform> platform, const std::vector<std::string>& args)
    : WindowApp(std::move(platform), args, kTitle, true), pacer(GetClock()) {
  if (!IsReady()) return;
  RenderDevice* device = GetGraphicsDevice()->GetDevice();
  debugFont.Create(device, 12);
  hudFont.Create(device, 18, 0, 300, kHudFace);
  titleFont.Create(device, 30);
}

GameApp::~GameApp() {
  EndStage();
}

void GameApp::Update() {
  KeyInput* keyInput = GetKeyInput();
  keyInput->Update();
  const PadState& pad = *keyInput->GetPad(0);
  fps = pacer.Pace();
  if (scene == kPlayScene) {
    UpdatePlayScene(pad);
  } else if (scene == kTitleScene) {
    UpdateTitleScene(pad);
  }
}

void GameApp::UpdateTitleScene(const PadState& pad) {
  if (!pad.buttons[0]) return;
  scene = kPlayScene;
  StartStage(stageNumber);
}

void GameApp::Draw() {
  GraphicsDevice* graphics = GetGraphicsDevice();
  if (!graphics->BeginScene()) return;
  if (scene == kPlayScene) {
    DrawPlayScene();
  } else if (scene == kTitleScene) {
    DrawTitleScene();
  }
  graphics->EndScene();
  graphics->Present();
}

void GameApp::DrawTitleScene() {
  GetScreenQuad().Begin2D();
  GetGraphicsDevice()->Clear(kTitleBackground);
  titleFont.DrawText("Press Z key", 250, 150, kWhite, TopLeft);
}

// ---- Stage runs ---------------------------------------------------------------------------
// No stage has a set-up yet, so no stage ever has a player ship: every start ends on the
// title with the message, as it does for any stage number without a set-up.

bool GameApp::StartStage(int) {
  scene = kTitleScene;
  ShowMessageBox("自機が登録されていません。\nMyShip is not registered.", "Error");
  EndStage();
  return false;
}

void GameApp::EndStage() {}

void GameApp::UpdatePlayScene(const PadState&) {}

void GameApp::DrawPlayScene() {}

}  // namespace vorlith
