#include "platform/headless/HeadlessWindow.h"

#include "platform/WindowPlacement.h"

namespace vorlith {

bool HeadlessWindow::Create(const std::string& title, const std::string& iconPath) {
  if (createFails) return false;
  this->title = title;
  this->iconPath = iconPath;
  created = true;
  return true;
}

void HeadlessWindow::GetDesktopSize(int& width, int& height) const {
  width = desktopWidth;
  height = desktopHeight;
}

void HeadlessWindow::ShowWindowed(int width, int height) {
  fullScreen = false;
  clientWidth = width;
  clientHeight = height;
  x = CentredStart(desktopWidth, width);
  y = CentredStart(desktopHeight, height);
}

void HeadlessWindow::ShowFullScreen() {
  fullScreen = true;
  clientWidth = desktopWidth;
  clientHeight = desktopHeight;
  x = 0;
  y = 0;
}

void HeadlessWindow::GetClientSize(int& width, int& height) const {
  width = clientWidth;
  height = clientHeight;
}

void HeadlessWindow::GetPosition(int& x, int& y) const {
  x = this->x;
  y = this->y;
}

bool HeadlessWindow::PollEvent(WindowEvent& event) {
  if (events.empty()) return false;
  event = events.front();
  events.pop_front();
  return true;
}

bool HeadlessWindow::WaitEvent(WindowEvent& event, int) {
  ++waitCount;
  if (waitHook) waitHook(waitCount);
  return PollEvent(event);
}

}  // namespace vorlith
