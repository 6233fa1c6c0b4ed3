#pragma once

#include <string>

#include "platform/Window.h"

struct SDL_Window;
union SDL_Event;

namespace vorlith {

// The game's window on SDL2: no sizing border, an OpenGL surface, the screen saver kept
// off while it exists. The maximize button never maximizes: the window is restored at once
// and the event is reported as Maximize.
class SdlWindow : public Window {
 public:
  SdlWindow() = default;
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  bool Create(const std::string& title, const std::string& iconPath) override;
  void Destroy() override;

  void GetDesktopSize(int& width, int& height) const override;
  void ShowWindowed(int width, int height) override;
  void ShowFullScreen() override;
  void GetClientSize(int& width, int& height) const override;
  void GetPosition(int& x, int& y) const override;

  bool PollEvent(WindowEvent& event) override;
  bool WaitEvent(WindowEvent& event, int timeoutMs) override;

  bool HasInputFocus() const override;
  // Minimized or hidden: there is nothing to present to.
  bool IsMinimized() const override;
  void OpenUrl(const std::string& url) override;

  // For the OpenGL drawing device, which makes its context on this window. The window is
  // made for an accelerated OpenGL 3.3 core context when the system offers a visual for
  // one, otherwise for any (a software renderer such as llvmpipe).
  SDL_Window* GetSdlWindow() const { return window; }
  // Size in pixels of the drawable area (differs from the client size on high-DPI screens).
  void GetDrawableSize(int& width, int& height) const;

 private:
  bool CreateSdlWindow(bool accelerated);
  void PlaceWindowed();
  bool CoversDesktop(int width, int height) const;
  bool QuitSignalArrived(WindowEvent& event);
  WindowEventType Translate(const SDL_Event& event);

  SDL_Window* window = nullptr;
  std::string title, iconPath;
  bool shown = false;
  bool quitSignalSeen = false;
  bool fullScreen = false;
  bool alwaysInFront = false;  // a video driver without focus: the offscreen one
  int windowedWidth = 0, windowedHeight = 0;
};

}  // namespace vorlith
