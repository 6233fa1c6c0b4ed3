#pragma once

#include <deque>
#include <string>
#include <unordered_set>

#include "platform/Window.h"
#include "platform/web/WebGamepads.h"

struct EmscriptenKeyboardEvent;
struct EmscriptenFocusEvent;
struct EmscriptenVisibilityChangeEvent;
struct EmscriptenFullscreenChangeEvent;
struct EmscriptenMouseEvent;

namespace vorlith {

// The game's window in a web page: its canvas. The canvas has the input focus as a desktop
// window has it (a hidden tab or a canvas without the focus puts the game in the
// background); full screen is the browser's, asked for with Alt+Enter or the page's button
// and letterboxed by the drawing device. Keyboard shortcuts arrive as on the desktop; Start
// on a controller with the standard mapping pauses.
class WebWindow : public Window {
 public:
  // canvas and fullScreenButton are CSS selectors of the page's elements.
  WebWindow(std::string canvas, std::string fullScreenButton);
  ~WebWindow() override;
  WebWindow(const WebWindow&) = delete;
  WebWindow& operator=(const WebWindow&) = delete;

  bool Create(const std::string& title, const std::string& iconPath) override;
  void Destroy() override;

  void GetDesktopSize(int& width, int& height) const override;
  void ShowWindowed(int width, int height) override;
  void ShowFullScreen() override;
  void GetClientSize(int& width, int& height) const override;
  void GetPosition(int& x, int& y) const override;

  bool PollEvent(WindowEvent& event) override;
  // A page cannot block: the same as PollEvent.
  bool WaitEvent(WindowEvent& event, int timeoutMs) override;

  bool HasInputFocus() const override;
  bool IsMinimized() const override;
  void OpenUrl(const std::string& url) override;

  const std::string& GetCanvas() const { return canvas; }
  // A key held now, by its KeyboardEvent.code ("ArrowUp", "KeyZ").
  bool IsKeyHeld(const char* code) const { return held.count(code) != 0; }
  const WebGamepads& GetGamepads() const { return gamepads; }

 private:
  static int OnKey(int type, const EmscriptenKeyboardEvent* event, void* self);
  static int OnFocus(int type, const EmscriptenFocusEvent* event, void* self);
  static int OnVisibility(int type, const EmscriptenVisibilityChangeEvent* event, void* self);
  static int OnFullScreenChange(int type, const EmscriptenFullscreenChangeEvent* event, void* self);
  static int OnFullScreenButton(int type, const EmscriptenMouseEvent* event, void* self);
  bool KeyDown(const EmscriptenKeyboardEvent& event);
  void Listen(bool on);
  void ToggleFullScreenNow();
  void Push(WindowEventType type) { events.push_back(type); }

  std::string canvas, fullScreenButton;
  bool created = false;
  bool focused = false, visible = true;
  bool fullScreen = false;  // as the game asked for it
  std::unordered_set<std::string> held;
  std::deque<WindowEventType> events;
  WebGamepads gamepads;
};

}  // namespace vorlith
