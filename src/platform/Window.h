#pragma once

#include <string>

namespace vorlith {

// What the window tells the main loop. Keyboard shortcuts arrive already recognised.
enum class WindowEventType {
  None,
  Close,             // close button, SIGTERM, or the system asking the program to end
  Escape,            // Esc
  ToggleFullScreen,  // Alt+Enter
  Maximize,          // the maximize button (never maximizes: toggles full screen)
  Help,              // F1
  Pause,             // a pause key or button (P, Start): pause, or go on from the pause
  Expose,            // the window needs repainting
  FocusGained,
  FocusLost,
  Hidden,  // minimized or hidden: nothing to present to
  Shown,   // restored or shown again
};

struct WindowEvent {
  WindowEventType type = WindowEventType::None;
};

// The keys (as KeyboardState numbers them) and controller buttons (ControllerState's order)
// that pause; 0 and -1 leave a place empty.
struct PauseControls {
  int keys[2] = {19, 0};     // P
  int buttons[2] = {6, -1};  // Start
};

// The main window and its event queue.
class Window {
 public:
  virtual ~Window() = default;

  // Creates a visible window without a sizing border. A missing or unreadable icon file
  // gives no icon and no message. False when no window can be had.
  virtual bool Create(const std::string& title, const std::string& iconPath) = 0;
  virtual void Destroy() = 0;

  virtual void GetDesktopSize(int& width, int& height) const = 0;
  // Window mode: the client area is exactly width x height, centred on the desktop.
  virtual void ShowWindowed(int width, int height) = 0;
  // Desktop full screen (no display mode change).
  virtual void ShowFullScreen() = 0;
  virtual void GetClientSize(int& width, int& height) const = 0;
  virtual void GetPosition(int& x, int& y) const = 0;

  // Takes one waiting event; false when none waits.
  virtual bool PollEvent(WindowEvent& event) = 0;
  // Blocks until an event arrives (or timeoutMs passes, unless it is negative); false on
  // timeout.
  virtual bool WaitEvent(WindowEvent& event, int timeoutMs) = 0;

  virtual void SetPauseControls(const PauseControls& controls) { pauseControls = controls; }
  const PauseControls& GetPauseControls() const { return pauseControls; }

  virtual bool HasInputFocus() const = 0;
  virtual bool IsMinimized() const = 0;

  // Hands a path or address to the desktop's opener; errors are ignored.
  virtual void OpenUrl(const std::string& url) = 0;

 protected:
  bool PausesOnKey(int key) const {
    return key != 0 && (pauseControls.keys[0] == key || pauseControls.keys[1] == key);
  }
  bool PausesOnButton(int button) const {
    return button >= 0 &&
           (pauseControls.buttons[0] == button || pauseControls.buttons[1] == button);
  }

 private:
  PauseControls pauseControls;
};

}  // namespace vorlith
