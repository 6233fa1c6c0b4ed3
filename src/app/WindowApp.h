#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/GraphicsDevice.h"
#include "app/ScreenQuad.h"
#include "input/PadSource.h"
#include "platform/Platform.h"

namespace vorlith {

// The application frame: the main window, the graphics device and the source of the
// frame's controls, and the main loop that drives the game through Update and Draw.
//
// The loop takes every waiting window event before it runs a frame, and runs a frame
// (Update, then Draw) only while the window has input focus (unless the player lets it run
// in the background). In the background the game is paused and the loop sleeps until an event
// comes. The pause key or button (P, Start) pauses the same way until it is pressed again,
// with the last picture left on screen under a "PAUSE" label. Esc (unless the game takes it)
// and closing the window end the loop, paused or not; Alt+Enter and the maximize
// button switch full screen; F1 opens the help document; a repaint request presents the last
// picture again (under the label while paused by P) and changes nothing of the game.
class WindowApp {
 public:
  // The message shown when no drawing device can be had; the system's reason follows it.
  static const char* const kNoDeviceMessage;
  // How long the loop sleeps at most between looks at the window while it is in the
  // background. Every change that matters (focus, close, a signal) comes as an event and
  // wakes it at once; this is only a safety net, long enough that a paused game uses no
  // measurable CPU. Paused by P it sleeps until an event comes: only an event ends that pause.
  static constexpr int kPausedWaitMs = 60000;
  static constexpr int kForever = -1;

  // args are the command line, program path first; its display options change `start`.
  WindowApp(std::unique_ptr<Platform> platform, const std::vector<std::string>& args,
            const std::string& title, bool useDepthBuffer,
            const StartupOptions& start = StartupOptions{});
  virtual ~WindowApp();
  WindowApp(const WindowApp&) = delete;
  WindowApp& operator=(const WindowApp&) = delete;

  // The main loop; returns the program's exit status: 0 when the window was closed, 1 when
  // start-up found no drawing device (the user has been told).
  int Run();
  // Starts the loop without running it (for RunOnce); false when start-up failed.
  bool Start();
  // What one pass of the loop did.
  enum class Pass { Event, Frame, Idle };
  // One pass of the loop: handles one waiting event, or else runs one frame, or else (with
  // mayWait) waits for the next event as the loop does in the background or paused. Run is
  // this pass repeated; a caller that must not block (a browser's frame callback) passes
  // false and calls it until it returns something other than Event.
  Pass RunOnce(bool mayWait);
  // Milliseconds until a frame may run (0 or less: now); asked before every frame when set.
  // Until then a pass that may wait waits for an event at most that long, so that the frame
  // reads the controls as they are when it starts; one that may not (a loop driven by the
  // display refresh) runs no frame.
  void SetFrameGate(std::function<std::int64_t()> gate) { frameGate = std::move(gate); }
  bool IsRunning() const { return running; }
  // False when start-up failed; the derived class then sets nothing up.
  bool IsReady() const { return ready; }

  virtual void Update() {}
  virtual void Draw() {}
  // Esc ends the loop unless the game takes it for itself (true).
  virtual bool TakeEscape() { return false; }

  // Ends the loop after the current pass.
  void RequestQuit() { running = false; }
  // Off: frames go on while the window is in the background (not while it is minimized).
  void SetPauseWhenUnfocused(bool on) { pauseWhenUnfocused = on; }
  // Paused by P or Start (not by the focus): no frames run until it is switched off.
  bool IsPaused() const { return paused; }
  void SetPaused(bool on);
  // Called after every frame the loop runs (Update, then Draw); Draw runs only there.
  void SetFrameObserver(std::function<void()> observer) { frameObserver = std::move(observer); }

  Window* GetWindow() const { return platform->window.get(); }
  GraphicsDevice* GetGraphicsDevice() const { return graphicsDevice.get(); }
  // The source of each frame's pad: the keyboard and controllers unless replaced.
  PadSource& GetPadSource() const { return *padSource; }
  InputDevices* GetInputDevices() const { return platform->inputDevices.get(); }
  void SetPadSource(std::unique_ptr<PadSource> source) { padSource = std::move(source); }
  // Sets another source and hands back the one it replaces.
  std::unique_ptr<PadSource> SwapPadSource(std::unique_ptr<PadSource> source) {
    padSource.swap(source);
    return source;
  }
  ScreenQuad& GetScreenQuad() { return screenQuad; }
  Clock* GetClock() const { return platform->clock.get(); }
  AudioSystem* GetAudioSystem() const { return platform->audioSystem.get(); }
  Dialogs& GetDialogs() const { return *platform->dialogs; }
  const std::string& GetTitle() const { return title; }
  const std::string& GetAppDirectory() const { return appDirectory; }

  // The directory part of a program path, with its trailing slash; empty without one.
  static std::string DirectoryOf(const std::string& programPath);

 protected:
  // One window event as the loop handles it.
  void HandleEvent(WindowEventType type);

 private:
  void SetInBackground(bool on);
  void HoldSound();

  std::unique_ptr<Platform> platform;
  std::unique_ptr<GraphicsDevice> graphicsDevice;
  std::unique_ptr<PadSource> padSource;
  ScreenQuad screenQuad;
  std::string appDirectory;
  std::string title;
  std::string helpPath;
  bool ready = false;
  bool running = false;
  bool paused = false;        // by the player
  bool inBackground = false;  // by the focus
  bool pauseWhenUnfocused = true;
  std::function<void()> frameObserver;
  std::function<std::int64_t()> frameGate;
};

}  // namespace vorlith
