#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/InputDevices.h"
#include "platform/RenderDevice.h"
#include "platform/Window.h"

namespace vorlith {

// Everything the game needs of the system, in one bundle the application takes over.
// The window is created by the application (it knows the title); the drawing device is made
// by makeRenderDevice once the window exists and is created by the graphics device.
struct Platform {
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  virtual ~Platform() = default;

  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<Clock> clock;
  std::unique_ptr<Window> window;
  std::unique_ptr<InputDevices> inputDevices;
  std::function<std::unique_ptr<RenderDevice>()> makeRenderDevice;
  // Why the window or the drawing device could not be had, as the system put it (may be
  // unset or give "").
  std::function<std::string()> deviceFailureReason;
  // Opens the sound device of each stage; none gives stages that cannot start.
  std::unique_ptr<AudioSystem> audioSystem;
};

// The platform of the target the program was built for: on the desktop an SDL window with
// an OpenGL drawing device, SDL input and message boxes and OpenAL sound; in the browser the
// page's canvas with WebGL 2, the keyboard and game controllers it gets, the page's dialog
// for messages and the browser's OpenAL. Null when there is no display to show a window on
// (one line on stderr says why).
std::unique_ptr<Platform> CreatePlatform();

// No display, no GPU: a window that is always in front, a device that draws nothing,
// messages on stderr, no input, the target's clock.
std::unique_ptr<Platform> CreateHeadlessPlatform();

// The browser's loop: runs pass at every display refresh until it returns false; returns to
// the browser at once (what main leaves on its stack is gone). Only the browser has it.
void RunBrowserMainLoop(std::function<bool()> pass);

// Message boxes that only print to stderr and never wait for a click.
std::unique_ptr<Dialogs> CreateStderrDialogs();

}  // namespace vorlith
