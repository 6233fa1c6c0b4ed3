#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace vorlith {

// A window that is never shown: it keeps the sizes and modes asked of it, is always in
// front unless a test says otherwise, and hands out the events a test queued.
class HeadlessWindow : public Window {
 public:
  HeadlessWindow(int desktopWidth = 1920, int desktopHeight = 1080)
      : desktopWidth(desktopWidth), desktopHeight(desktopHeight) {}

  bool Create(const std::string& title, const std::string& iconPath) override;
  void Destroy() override { created = false; }

  void GetDesktopSize(int& width, int& height) const override;
  void ShowWindowed(int width, int height) override;
  void ShowFullScreen() override;
  void GetClientSize(int& width, int& height) const override;
  void GetPosition(int& x, int& y) const override;

  bool PollEvent(WindowEvent& event) override;
  // Never blocks: runs the wait hook (where a test can queue what arrives meanwhile), then
  // takes a queued event or reports a timeout at once.
  bool WaitEvent(WindowEvent& event, int timeoutMs) override;

  bool HasInputFocus() const override { return focused; }
  bool IsMinimized() const override { return minimized; }
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }

  // Test controls and observations.
  void PushEvent(WindowEventType type) { events.push_back(WindowEvent{type}); }
  bool HasPendingEvents() const { return !events.empty(); }
  void SetFocused(bool on) { focused = on; }
  void SetMinimized(bool on) { minimized = on; }
  void SetCreateFails(bool fails) { createFails = fails; }
  bool IsCreated() const { return created; }
  bool IsFullScreen() const { return fullScreen; }
  const std::string& GetTitle() const { return title; }
  const std::string& GetIconPath() const { return iconPath; }
  const std::vector<std::string>& GetOpenedUrls() const { return openedUrls; }
  int GetWaitCount() const { return waitCount; }
  // Called with the number of waits so far on every WaitEvent.
  void SetWaitHook(std::function<void(int)> hook) { waitHook = std::move(hook); }

 private:
  int desktopWidth, desktopHeight;
  bool createFails = false;
  bool created = false;
  bool focused = true;
  bool minimized = false;
  bool fullScreen = false;
  int clientWidth = 0, clientHeight = 0;
  int x = 0, y = 0;
  std::string title, iconPath;
  std::deque<WindowEvent> events;
  std::vector<std::string> openedUrls;
  int waitCount = 0;
  std::function<void(int)> waitHook;
};

}  // namespace vorlith
