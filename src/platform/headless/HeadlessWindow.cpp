#include "platform/headless/HeadlessWindow.h"

#include "base/WindowPlacement.h"
#include "platform/QuitSignals.h"

namespace vorlith {

void HeadlessWindow::GetDesktopSize(int& width, int& height) const {
  width = desktopWidth;
  height = desktopHeight;
}

void HeadlessWindow::ShowWindowed(int width, int height) {
  clientWidth = width;
  clientHeight = height;
  x = CentredStart(desktopWidth, width);
  y = CentredStart(desktopHeight, height);
}

void HeadlessWindow::ShowFullScreen() {
  clientWidth = desktopWidth;
  clientHeight = desktopHeight;
  x = 0;
  y = 0;
}

void HeadlessWindow::GetClientSize(int& width, int& height) const {
  width = clientWidth;
  height = clientHeight;
}

bool HeadlessWindow::PollEvent(WindowEvent& event) {
  if (closed || !QuitSignals::Arrived()) return false;
  closed = true;
  event = WindowEvent{WindowEventType::Close};
  return true;
}

void HeadlessWindow::GetPosition(int& x, int& y) const {
  x = this->x;
  y = this->y;
}

}  // namespace vorlith
