#include "app/GraphicsDevice.h"

#include "platform/RenderDevice.h"
#include "platform/Window.h"

namespace vorlith {

GraphicsDevice::GraphicsDevice(Window* window, std::unique_ptr<RenderDevice> device,
                               const StartupOptions& options, bool useDepthBuffer)
    : window(window),
      device(std::move(device)),
      windowWidth(options.windowWidth),
      windowHeight(options.windowHeight),
      fullScreenWidth(options.fullScreenWidth),
      fullScreenHeight(options.fullScreenHeight),
      fullScreen(options.fullScreen),
      useDepthBuffer(useDepthBuffer) {
  // The window is always sized and centred for window mode first.
  if (window) window->ShowWindowed(windowWidth, windowHeight);
  if (fullScreen && window) window->ShowFullScreen();
  if (this->device) CreateOrResetDevice();
}

GraphicsDevice::~GraphicsDevice() = default;

bool GraphicsDevice::CreateOrResetDevice() {
  if (!device) return false;
  const int width = fullScreen ? fullScreenWidth : windowWidth;
  const int height = fullScreen ? fullScreenHeight : windowHeight;
  if (created) {
    if (!device->Reset(width, height)) return false;
  } else {
    if (!device->Create(width, height, useDepthBuffer)) return false;
    created = true;
  }
  ready = true;
  return true;
}

void GraphicsDevice::SetFullScreen(bool on) {
  if (on == fullScreen) return;
  fullScreen = on;
  CreateOrResetDevice();
  ShowWindowForMode();
}

void GraphicsDevice::ShowWindowForMode() {
  if (!window) return;
  if (fullScreen) {
    window->ShowFullScreen();
  } else {
    window->ShowWindowed(windowWidth, windowHeight);
  }
}

void GraphicsDevice::Clear(std::uint32_t argb) {
  if (created) device->Clear(argb, useDepthBuffer);
}

bool GraphicsDevice::BeginScene() {
  return created && device->BeginScene();
}

void GraphicsDevice::EndScene() {
  if (created) device->EndScene();
}

void GraphicsDevice::Present() {
  if (!created) return;
  switch (device->TestCooperativeLevel()) {
    case RenderDevice::Status::Lost:
      return;
    case RenderDevice::Status::NotReset:
      if (!CreateOrResetDevice()) return;
      break;
    case RenderDevice::Status::Ok:
      break;
  }
  device->Present();
}

}  // namespace vorlith
