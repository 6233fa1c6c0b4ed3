// How SDL's events become the window events the main loop acts on (SDL's offscreen video
// driver; the window's sizes and modes on a real X server are the end-to-end tests' part).
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/SdlWindow.h"

namespace vorlith {
namespace {

using Event = WindowEventType;

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(window.Create("Window test", "no-such-icon.ico"));
    window.ShowWindowed(320, 200);
    SDL_PumpEvents();  // nothing left from showing the window or from tests before
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    window.Destroy();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // Events as SDL lays them out: type, time stamp, window, then the event's own fields.
  static void Push(SDL_Event event) { SDL_PushEvent(&event); }
  Uint32 Id() { return SDL_GetWindowID(window.GetSdlWindow()); }
  void PushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE, bool repeat = false) {
    const SDL_Keysym keysym{SDL_GetScancodeFromKey(key), key, mod, 0};
    Push({.key = {SDL_KEYDOWN, 0, Id(), SDL_PRESSED, repeat, 0, 0, keysym}});
  }
  void PushWindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    Push({.window = {SDL_WINDOWEVENT, 0, Id(), what, 0, 0, 0, data1, data2}});
  }
  void PushButtons() {  // Start, then B
    for (Uint8 button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_B})
      Push({.cbutton = {SDL_CONTROLLERBUTTONDOWN, 0, 0, button, SDL_PRESSED, 0, 0}});
  }
  // The events the loop would see, up to the first time nothing waits.
  std::vector<Event> Drain() {
    std::vector<Event> seen;
    for (Event e = Next(); e != Event::None; e = Next()) seen.push_back(e);
    return seen;
  }
  Event Next() {
    WindowEvent event;
    return window.PollEvent(event) ? event.type : Event::None;
  }

  SdlWindow window;
};

TEST_F(SdlWindowTest, ShortcutsAndWindowEventsBecomeLoopEventsAndMaximizeNeverStays) {
  // No shortcut: Enter without Alt, repeats, other keys.
  const std::tuple<SDL_Keycode, Uint16, bool> keys[] = {
      {SDLK_ESCAPE, KMOD_NONE, false},   {SDLK_RETURN, KMOD_NONE, false},
      {SDLK_RETURN, KMOD_LALT, false},   {SDLK_RETURN, KMOD_LALT, true},
      {SDLK_KP_ENTER, KMOD_RALT, false}, {SDLK_F1, KMOD_NONE, false},
      {SDLK_F1, KMOD_NONE, true},        {SDLK_z, KMOD_NONE, false},
      {SDLK_p, KMOD_NONE, false},        {SDLK_p, KMOD_NONE, true}};
  for (const auto& [key, mod, repeat] : keys) PushKey(key, mod, repeat);
  PushButtons();
  for (Uint8 what :
       {SDL_WINDOWEVENT_CLOSE, SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_FOCUS_LOST,
        SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED}) {
    PushWindowEvent(what);
  }
  Push({.type = SDL_QUIT});
  EXPECT_EQ(Drain(),
            (std::vector<Event>{Event::Escape, Event::ToggleFullScreen, Event::ToggleFullScreen,
                                Event::Help, Event::Pause, Event::Pause, Event::Close,
                                Event::Expose, Event::FocusLost, Event::FocusGained, Event::Hidden,
                                Event::Shown, Event::Close}));
  // Rebound: Space and B pause, P and Start no longer.
  PauseControls pause;
  pause.keys[0] = SDL_SCANCODE_SPACE;
  pause.buttons[1] = SDL_CONTROLLER_BUTTON_B;
  pause.buttons[0] = -1;
  window.SetPauseControls(pause);
  PushKey(SDLK_p);
  PushKey(SDLK_SPACE);
  PushButtons();
  EXPECT_EQ(Drain(), (std::vector<Event>{Event::Pause, Event::Pause}));

  // A maximize is reported but never stays.
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  EXPECT_EQ(Next(), Event::Maximize);
  EXPECT_EQ(SDL_GetWindowFlags(window.GetSdlWindow()) & SDL_WINDOW_MAXIMIZED, 0u);
  // Some window managers maximize by resizing the window to cover the screen, without a
  // maximized state: the same request. Smaller sizes (a window clamped to the screen) are not.
  int desktopWidth = 0, desktopHeight = 0;
  window.GetDesktopSize(desktopWidth, desktopHeight);
  Drain();
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{Event::Maximize}) << desktopWidth << "x" << desktopHeight;
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth - 1, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{});
  window.ShowFullScreen();  // full screen may come with a maximized state: not a request
  Drain();
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{});
}

}  // namespace
}  // namespace vorlith
