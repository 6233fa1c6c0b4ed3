// The browser's platform: the page's canvas as the window with WebGL 2 for drawing, the keys
// and Gamepad API controllers it gets, the page's dialog for messages, emscripten's OpenAL
// from the page's first gesture on; and the headless one on the same clock.
#include <memory>

#include "platform/Platform.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlWebContext.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/openal/OpenAlAudioSystem.h"
#include "platform/web/GestureAudioSystem.h"
#include "platform/web/WebClock.h"
#include "platform/web/WebDialogs.h"
#include "platform/web/WebInputDevices.h"
#include "platform/web/WebWindow.h"

namespace vorlith {
namespace {

constexpr const char* kCanvas = "#canvas";
constexpr const char* kFullScreenButton = "#fullscreen";

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  auto platform = std::make_unique<Platform>();
  auto window = std::make_unique<WebWindow>(kCanvas, kFullScreenButton);
  WebWindow* webWindow = window.get();
  platform->window = std::move(window);
  platform->dialogs = std::make_unique<WebDialogs>();
  platform->clock = std::make_unique<WebClock>();
  // Sound starts at the page's first gesture: browsers allow no sound before one.
  platform->audioSystem = std::make_unique<GestureAudioSystem>(
      std::make_unique<OpenAlAudioSystem>(std::make_unique<SilentAudioSystem>()));
  platform->inputDevices = std::make_unique<WebInputDevices>(webWindow);
  platform->makeRenderDevice = [webWindow] {
    return GlRenderDevice::Open(GlWebContext::Open(webWindow->GetCanvas()));
  };
  platform->deviceFailureReason = [] { return GlWebContext::GetError(); };
  return platform;
}

std::unique_ptr<Platform> CreateHeadlessPlatform() {
  return MakeHeadlessPlatform(std::make_unique<WebClock>());
}

}  // namespace vorlith
