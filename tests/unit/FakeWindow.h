#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/HeadlessWindow.h"

namespace vorlith {

// A headless window a test steers: it can fail, lose focus or be minimized, hands out the
// events a test queued and remembers what was asked of it.
class FakeWindow : public HeadlessWindow {
 public:
  using HeadlessWindow::HeadlessWindow;

  bool Create(const std::string& title, const std::string& iconPath) override {
    this->title = title;
    this->iconPath = iconPath;
    return !createFails;
  }
  void ShowWindowed(int width, int height) override {
    fullScreen = false;
    HeadlessWindow::ShowWindowed(width, height);
  }
  void ShowFullScreen() override {
    fullScreen = true;
    HeadlessWindow::ShowFullScreen();
  }
  bool PollEvent(WindowEvent& event) override {
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
  }
  // Never blocks: runs the wait hook (where a test can queue what arrives meanwhile), then
  // takes a queued event or reports a timeout at once.
  bool WaitEvent(WindowEvent& event, int timeoutMs) override {
    ++waitCount;
    lastWaitMs = timeoutMs;
    if (waitHook) waitHook(waitCount);
    return PollEvent(event);
  }
  bool HasInputFocus() const override { return focused; }
  bool IsMinimized() const override { return minimized; }
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }

  void PushEvent(WindowEventType type) { events.push_back(WindowEvent{type}); }

  bool createFails = false, focused = true, minimized = false, fullScreen = false;
  std::string title, iconPath;
  std::deque<WindowEvent> events;
  std::vector<std::string> openedUrls;
  int waitCount = 0, lastWaitMs = 0;
  // Called with the number of waits so far on every WaitEvent.
  std::function<void(int)> waitHook;
};

}  // namespace vorlith
