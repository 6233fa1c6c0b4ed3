#pragma once

#include <string>

#include "platform/Window.h"

namespace vorlith {

// A window that is never shown: it keeps the sizes and modes asked of it, is always in
// front and gets no event but the close a quit signal brings.
class HeadlessWindow : public Window {
 public:
  HeadlessWindow(int desktopWidth = 1920, int desktopHeight = 1080)
      : desktopWidth(desktopWidth), desktopHeight(desktopHeight) {}

  bool Create(const std::string&, const std::string&) override { return true; }
  void Destroy() override {}

  void GetDesktopSize(int& width, int& height) const override;
  void ShowWindowed(int width, int height) override;
  void ShowFullScreen() override;
  void GetClientSize(int& width, int& height) const override;
  void GetPosition(int& x, int& y) const override;

  // Only a quit signal (QuitSignals) comes, once, as the window's close.
  bool PollEvent(WindowEvent& event) override;
  // Never blocks: there is nothing to wait for.
  bool WaitEvent(WindowEvent& event, int) override { return PollEvent(event); }

  bool HasInputFocus() const override { return true; }
  bool IsMinimized() const override { return false; }
  void OpenUrl(const std::string&) override {}

 private:
  int desktopWidth, desktopHeight;
  int clientWidth = 0, clientHeight = 0;
  int x = 0, y = 0;
  bool closed = false;
};

}  // namespace vorlith
