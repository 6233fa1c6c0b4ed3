#include "app/WindowApp.h"

#include "base/DataDirectory.h"
#include "input/KeyInput.h"

namespace vorlith {

const char* const WindowApp::kNoDeviceMessage =
    "このプログラムにはOpenGL 3.3以上が必要です。\n"
    "OpenGL 3.3に対応した最新のドライバが\n"
    "インストールされているかどうかご確認ください。\n"
    "また、起動時のオプションで解像度を変更してみてください。\n\n"
    "ウィンドウ時800x600、フルスクリーン1024x768の場合：\n"
    "-w 800 -h 600 -fw 1024 -fh 768";

namespace {
constexpr std::size_t kMaxTitleBytes = 127;
}

std::string WindowApp::DirectoryOf(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of('/');
  if (slash == std::string::npos) return {};
  return programPath.substr(0, slash + 1);
}

WindowApp::WindowApp(std::unique_ptr<Platform> platform, const std::vector<std::string>& args,
                     const std::string& title, bool useDepthBuffer, const StartupOptions& start)
    : platform(std::move(platform)), title(title.substr(0, kMaxTitleBytes)) {
  appDirectory = DirectoryOf(args.empty() ? std::string() : args[0]);
  Window* window = this->platform->window.get();
  std::unique_ptr<RenderDevice> device;
  // The icon lies next to the program unless a data directory was found for it.
  const std::string icon =
      DataDirectory::Get().empty() ? appDirectory + "game.ico" : DataDirectory::Resolve("game.ico");
  if (window->Create(this->title, icon) && this->platform->makeRenderDevice) {
    device = this->platform->makeRenderDevice();
  }
  graphicsDevice = std::make_unique<GraphicsDevice>(
      window, std::move(device), StartupOptions::Parse(args, start), useDepthBuffer);
  if (!graphicsDevice->IsReady()) {
    const auto& reason = this->platform->deviceFailureReason;
    const std::string why = reason ? reason() : std::string();
    GetDialogs().ShowMessage(this->title,
                             why.empty() ? kNoDeviceMessage : kNoDeviceMessage + ("\n\n" + why));
    return;
  }
  screenQuad.Init(graphicsDevice->GetDevice());
  if (!padSource) padSource = std::make_unique<KeyInput>(this->platform->inputDevices.get());
  ready = true;
}

WindowApp::~WindowApp() {
  padSource.reset();
  screenQuad.Release();
  graphicsDevice.reset();
  platform->window->Destroy();
}

int WindowApp::Run() {
  if (!Start()) return 1;
  while (running) RunOnce(true);
  return 0;
}

bool WindowApp::Start() {
  running = ready;
  return ready;
}

WindowApp::Pass WindowApp::RunOnce(bool mayWait) {
  Window* window = platform->window.get();
  WindowEvent event;
  if (window->PollEvent(event)) {
    HandleEvent(event.type);
    return Pass::Event;
  }
  const bool runs = window->HasInputFocus() || (!pauseWhenUnfocused && !window->IsMinimized());
  if (runs && !paused) {
    SetInBackground(false);
    if (const std::int64_t wait = frameGate ? frameGate() : 0; wait > 0) {
      if (mayWait && window->WaitEvent(event, static_cast<int>(wait))) HandleEvent(event.type);
      return Pass::Idle;
    }
    Update();
    Draw();
    if (frameObserver) frameObserver();
    return Pass::Frame;
  }
  if (!runs) SetInBackground(true);
  if (mayWait && window->WaitEvent(event, paused ? kForever : kPausedWaitMs)) {
    HandleEvent(event.type);
  }
  return Pass::Idle;
}

// In the background the sound output is held as well; it goes on with the focus unless the
// player has paused.
void WindowApp::SetInBackground(bool on) {
  if (on == inBackground) return;
  inBackground = on;
  HoldSound();
}

void WindowApp::HoldSound() {
  if (AudioSystem* audio = GetAudioSystem()) audio->SetPaused(paused || inBackground);
}

void WindowApp::HandleEvent(WindowEventType type) {
  switch (type) {
    case WindowEventType::Escape:
      if (!TakeEscape()) RequestQuit();
      break;
    case WindowEventType::Close:
      RequestQuit();
      break;
    case WindowEventType::ToggleFullScreen:
    case WindowEventType::Maximize:
      graphicsDevice->SetFullScreen(!graphicsDevice->IsFullScreen());
      // No frame comes to show the picture in the new mode: the kept one is shown again.
      if (paused || inBackground) graphicsDevice->Present();
      break;
    case WindowEventType::Help:
      if (!helpPath.empty()) platform->window->OpenUrl(helpPath);
      break;
    case WindowEventType::Pause:
      SetPaused(!paused);
      break;
    case WindowEventType::Expose:
      // Draw belongs to a counted frame (a drawn frame steps the game); a repaint only
      // presents the last picture again.
      graphicsDevice->Present();
      break;
    default:
      break;
  }
}

// Nothing of the game runs while paused: the picture of the last frame is shown again, now
// with the label the device draws over it at presentation, and the sound stops.
void WindowApp::SetPaused(bool on) {
  if (on == paused) return;
  paused = on;
  if (RenderDevice* device = graphicsDevice->GetDevice()) device->SetPauseLabel(on);
  HoldSound();
  if (on) graphicsDevice->Present();
}

}  // namespace vorlith
