#include <emscripten.h>

#include "platform/ExecutablePath.h"
#include "platform/Platform.h"
#include "platform/gl/GlRenderDevice.h"
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

// What the page's main loop runs; owned by the browser's loop from the first call on.
std::function<bool()> browserPass;

void RunBrowserPass() {
  if (browserPass()) return;
  emscripten_cancel_main_loop();
  browserPass = nullptr;
  // The page says so (its vorlithEnded); the last picture stays.
  // clang-format off
  EM_ASM({ if (typeof vorlithEnded === 'function') vorlithEnded(); });
  // clang-format on
}

}  // namespace

std::unique_ptr<Platform> CreateWebPlatform() {
  auto platform = std::make_unique<Platform>();
  auto window = std::make_unique<WebWindow>(kCanvas, kFullScreenButton);
  WebWindow* webWindow = window.get();
  platform->window = std::move(window);
  platform->dialogs = std::make_unique<WebDialogs>();
  platform->clock = std::make_unique<WebClock>();
  platform->audioSystem =
      std::make_unique<GestureAudioSystem>(std::make_unique<OpenAlAudioSystem>());
  platform->inputDevices = std::make_unique<WebInputDevices>(webWindow);
  platform->makeRenderDevice = [webWindow] {
    return CreateWebGlRenderDevice(webWindow->GetCanvas());
  };
  platform->deviceFailureReason = [] { return GetWebGlError(); };
  return platform;
}

// fps 0: called at the display's refresh; main's stack is left (main returns to the
// browser), so everything the pass uses must live elsewhere.
void RunBrowserMainLoop(std::function<bool()> pass) {
  browserPass = std::move(pass);
  emscripten_set_main_loop(RunBrowserPass, 0, EM_TRUE);
}

// The program has no directory of its own in the page: the root of its file system.
std::string ExecutableDirectory() {
  return "/";
}

}  // namespace vorlith
