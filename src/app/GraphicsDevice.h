#pragma once

#include <cstdint>
#include <memory>

#include "app/StartupOptions.h"

namespace vorlith {

class RenderDevice;
class Window;

// The one drawing device of the program on the main window: the back-buffer sizes of
// window and full-screen mode, the current mode, and the frame cycle with recovery of a
// lost device. The window's client area is the window-mode back buffer, centred on the
// desktop; full screen is the desktop filled with the full-screen back buffer scaled in.
class GraphicsDevice {
 public:
  // Sizes and shows the window for the options, then creates the device.
  GraphicsDevice(Window* window, std::unique_ptr<RenderDevice> device,
                 const StartupOptions& options, bool useDepthBuffer);
  ~GraphicsDevice();
  GraphicsDevice(const GraphicsDevice&) = delete;
  GraphicsDevice& operator=(const GraphicsDevice&) = delete;

  // Creates the device, or resets it, for the current mode's back-buffer size.
  bool CreateOrResetDevice();
  void SetFullScreen(bool on);
  bool IsFullScreen() const { return fullScreen; }
  // True once a device has been created or reset successfully.
  bool IsReady() const { return ready; }

  RenderDevice* GetDevice() const { return device.get(); }
  int GetWindowWidth() const { return windowWidth; }
  int GetWindowHeight() const { return windowHeight; }
  int GetFullScreenWidth() const { return fullScreenWidth; }
  int GetFullScreenHeight() const { return fullScreenHeight; }

  // Clears the current viewport: colour, and depth when the depth buffer is on.
  void Clear(std::uint32_t argb);
  bool BeginScene();
  void EndScene();
  // Shows the frame, unless the device is lost; a device that is not reset is reset first.
  void Present();

 private:
  void ShowWindowForMode();

  Window* window;
  std::unique_ptr<RenderDevice> device;
  int windowWidth, windowHeight;
  int fullScreenWidth, fullScreenHeight;
  bool fullScreen;
  bool useDepthBuffer;
  bool created = false;
  bool ready = false;
};

}  // namespace vorlith
