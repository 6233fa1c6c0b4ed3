#include "platform/web/WebWindow.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/web/WebKeyCodes.h"

namespace vorlith {
namespace {

// The keys the game reads by default, and those a player may bind that scroll a page: their
// default action is kept from them.
constexpr const char* kGameKeys[] = {"ArrowUp",  "ArrowDown", "ArrowLeft", "ArrowRight", "KeyZ",
                                     "KeyX",     "KeyC",      "KeyV",      "KeyE",       "KeyD",
                                     "KeyS",     "KeyF",      "KeyH",      "Space",      "PageUp",
                                     "PageDown", "Home",      "End"};

bool IsGameKey(const char* code) {
  for (const char* key : kGameKeys) {
    if (std::strcmp(code, key) == 0) return true;
  }
  return false;
}

bool InFullScreen() {
  EmscriptenFullscreenChangeEvent status;
  return emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS &&
         status.isFullscreen;
}

// The canvas fills the screen at the screen's resolution; the drawing device letterboxes
// the picture in it.
void RequestFullScreen(const std::string& canvas) {
  EmscriptenFullscreenStrategy strategy{};
  strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_STRETCH;
  strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_HIDEF;
  strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_DEFAULT;
  emscripten_request_fullscreen_strategy(canvas.c_str(), EM_TRUE, &strategy);
}

// Browsers start sound only after a user's gesture: every key press lets the sound output
// go on if it is still held.
void ResumeAudio() {
  // clang-format off
  EM_ASM({
    if (typeof AL === 'undefined' || !AL.contexts) return;
    for (var id in AL.contexts) {
      var context = AL.contexts[id] && AL.contexts[id].audioCtx;
      if (context && context.state === 'suspended') context.resume();
    }
  });
  // clang-format on
}

}  // namespace

WebWindow::WebWindow(std::string canvas, std::string fullScreenButton)
    : canvas(std::move(canvas)), fullScreenButton(std::move(fullScreenButton)) {}

WebWindow::~WebWindow() {
  Destroy();
}

bool WebWindow::Create(const std::string& title, const std::string&) {
  Destroy();
  emscripten_set_window_title(title.c_str());
  visible = true;
  EmscriptenVisibilityChangeEvent visibility;
  if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS) {
    visible = !visibility.hidden;
  }
  // clang-format off
  focused = EM_ASM_INT({
    var canvas = document.querySelector(UTF8ToString($0));
    if (!canvas) return 0;
    canvas.focus();
    return document.activeElement === canvas ? 1 : 0;
  }, canvas.c_str());
  // clang-format on
  Listen(true);
  created = true;
  return true;
}

void WebWindow::Destroy() {
  if (!created) return;
  Listen(false);
  created = false;
  held.clear();
  events.clear();
}

void WebWindow::Listen(bool on) {
  void* self = on ? this : nullptr;
  const char* target = canvas.c_str();
  emscripten_set_keydown_callback(target, self, EM_TRUE, on ? &WebWindow::OnKey : nullptr);
  emscripten_set_keyup_callback(target, self, EM_TRUE, on ? &WebWindow::OnKey : nullptr);
  emscripten_set_focus_callback(target, self, EM_TRUE, on ? &WebWindow::OnFocus : nullptr);
  emscripten_set_blur_callback(target, self, EM_TRUE, on ? &WebWindow::OnFocus : nullptr);
  emscripten_set_visibilitychange_callback(self, EM_TRUE, on ? &WebWindow::OnVisibility : nullptr);
  emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, self, EM_TRUE,
                                           on ? &WebWindow::OnFullScreenChange : nullptr);
  emscripten_set_click_callback(fullScreenButton.c_str(), self, EM_TRUE,
                                on ? &WebWindow::OnFullScreenButton : nullptr);
}

int WebWindow::OnKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
  auto* window = static_cast<WebWindow*>(self);
  if (type == EMSCRIPTEN_EVENT_KEYUP) {
    window->held.erase(event->code);
    return IsGameKey(event->code);
  }
  ResumeAudio();
  return window->KeyDown(*event);
}

// The desktop's shortcuts; true when the page must not act on the key as well.
bool WebWindow::KeyDown(const EmscriptenKeyboardEvent& event) {
  const char* code = event.code;
  const bool gameKey = IsGameKey(code);
  held.insert(code);  // any key can be bound
  if (std::strcmp(code, "Escape") == 0) {
    // In full screen the browser takes Esc to leave it; the game goes on in the page.
    if (!InFullScreen()) Push(WindowEventType::Escape);
    return false;
  }
  if (event.repeat) return gameKey;
  const bool enter = std::strcmp(code, "Enter") == 0 || std::strcmp(code, "NumpadEnter") == 0;
  if (enter && event.altKey) {
    ToggleFullScreenNow();
    return true;
  }
  if (std::strcmp(code, "F1") == 0) {
    Push(WindowEventType::Help);
    return true;
  }
  if (PausesOnKey(WebKeyCodes::UsageOf(code))) {
    Push(WindowEventType::Pause);
    return true;
  }
  return gameKey;
}

// Asked for inside the user's gesture, as browsers require; the game then follows the
// toggle and finds the mode already asked for (the browser's change that follows is no
// second toggle, and no second request waits for a later gesture).
void WebWindow::ToggleFullScreenNow() {
  fullScreen = !InFullScreen();
  if (fullScreen) {
    RequestFullScreen(canvas);
  } else {
    emscripten_exit_fullscreen();
  }
  Push(WindowEventType::ToggleFullScreen);
}

int WebWindow::OnFullScreenButton(int, const EmscriptenMouseEvent*, void* self) {
  auto* window = static_cast<WebWindow*>(self);
  window->ToggleFullScreenNow();
  EM_ASM({ document.querySelector(UTF8ToString($0)).focus(); }, window->canvas.c_str());
  return EM_TRUE;
}

int WebWindow::OnFocus(int type, const EmscriptenFocusEvent*, void* self) {
  auto* window = static_cast<WebWindow*>(self);
  window->focused = type == EMSCRIPTEN_EVENT_FOCUS;
  if (!window->focused) window->held.clear();  // no key-up comes for keys let go elsewhere
  window->Push(window->focused ? WindowEventType::FocusGained : WindowEventType::FocusLost);
  return EM_FALSE;
}

int WebWindow::OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* self) {
  auto* window = static_cast<WebWindow*>(self);
  window->visible = !event->hidden;
  if (!window->visible) window->held.clear();
  window->Push(window->visible ? WindowEventType::Shown : WindowEventType::Hidden);
  return EM_FALSE;
}

// Full screen left by the browser (Esc, the browser's own controls): the game goes back to
// window mode as after Alt+Enter.
int WebWindow::OnFullScreenChange(int, const EmscriptenFullscreenChangeEvent* event, void* self) {
  auto* window = static_cast<WebWindow*>(self);
  if (!event->isFullscreen && window->fullScreen) {
    window->fullScreen = false;
    window->Push(WindowEventType::ToggleFullScreen);
  }
  return EM_FALSE;
}

void WebWindow::GetDesktopSize(int& width, int& height) const {
  emscripten_get_screen_size(&width, &height);
}

// The canvas takes the game's size; the page scales it (its vorlithFitCanvas), or shows it
// pixel for pixel when it has no such function.
void WebWindow::ShowWindowed(int width, int height) {
  fullScreen = false;
  if (InFullScreen()) emscripten_exit_fullscreen();
  emscripten_set_canvas_element_size(canvas.c_str(), width, height);
  // clang-format off
  const int fitted = EM_ASM_INT({
    if (typeof vorlithFitCanvas !== 'function') return 0;
    vorlithFitCanvas();
    return 1;
  });
  // clang-format on
  if (!fitted) emscripten_set_element_css_size(canvas.c_str(), width, height);
}

void WebWindow::ShowFullScreen() {
  if (!fullScreen && !InFullScreen()) RequestFullScreen(canvas);
  fullScreen = true;
}

void WebWindow::GetClientSize(int& width, int& height) const {
  if (emscripten_get_canvas_element_size(canvas.c_str(), &width, &height) !=
      EMSCRIPTEN_RESULT_SUCCESS) {
    width = height = 0;
  }
}

void WebWindow::GetPosition(int& x, int& y) const {
  x = y = 0;
}

bool WebWindow::PollEvent(WindowEvent& event) {
  if (events.empty() && gamepads.Sample(GetPauseControls().buttons)) Push(WindowEventType::Pause);
  if (events.empty()) return false;
  event.type = events.front();
  events.pop_front();
  return true;
}

bool WebWindow::WaitEvent(WindowEvent& event, int) {
  return PollEvent(event);
}

bool WebWindow::HasInputFocus() const {
  return created && focused && visible;
}

bool WebWindow::IsMinimized() const {
  return !visible;
}

void WebWindow::OpenUrl(const std::string& url) {
  EM_ASM({ window.open(UTF8ToString($0), '_blank'); }, url.c_str());
}

}  // namespace vorlith
