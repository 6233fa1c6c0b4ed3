// The SDL window on SDL's offscreen video driver: sizes, modes and how SDL's events become
// the window events the main loop acts on.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/SdlWindow.h"

namespace vorlith {
namespace {

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(window.Create("Window test", "no-such-icon.ico"));
    window.ShowWindowed(320, 200);
    WindowEvent drained;
    while (window.PollEvent(drained)) {
    }
  }
  void TearDown() override {
    window.Destroy();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  void PushKey(SDL_Keycode key, Uint16 mod, bool repeat = false) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(window.GetSdlWindow());
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  }
  void PushWindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window.GetSdlWindow());
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  // The next event the loop would see; None when nothing waits.
  WindowEventType Next() {
    WindowEvent event;
    return window.PollEvent(event) ? event.type : WindowEventType::None;
  }

  SdlWindow window;
};

TEST_F(SdlWindowTest, TheClientAreaHasTheWindowSizeAndFullScreenFillsTheDesktop) {
  int w = 0, h = 0, desktopW = 0, desktopH = 0;
  window.GetClientSize(w, h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 200);
  EXPECT_FALSE(window.IsMinimized());
  window.GetDesktopSize(desktopW, desktopH);
  ASSERT_GT(desktopW, 0);
  window.ShowFullScreen();
  window.GetClientSize(w, h);
  EXPECT_EQ(w, desktopW);
  EXPECT_EQ(h, desktopH);
  window.ShowWindowed(320, 200);
  window.GetClientSize(w, h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 200);
}

TEST_F(SdlWindowTest, ShortcutsArriveRecognised) {
  PushKey(SDLK_ESCAPE, KMOD_NONE);
  PushKey(SDLK_RETURN, KMOD_LALT);
  PushKey(SDLK_KP_ENTER, KMOD_RALT);
  PushKey(SDLK_F1, KMOD_NONE);
  EXPECT_EQ(Next(), WindowEventType::Escape);
  EXPECT_EQ(Next(), WindowEventType::ToggleFullScreen);
  EXPECT_EQ(Next(), WindowEventType::ToggleFullScreen);
  EXPECT_EQ(Next(), WindowEventType::Help);
  EXPECT_EQ(Next(), WindowEventType::None);
}

TEST_F(SdlWindowTest, KeysThatAreNoShortcutsAreNotReported) {
  PushKey(SDLK_RETURN, KMOD_NONE);        // Enter without Alt
  PushKey(SDLK_RETURN, KMOD_LALT, true);  // a held Alt+Enter repeating
  PushKey(SDLK_F1, KMOD_NONE, true);
  PushKey(SDLK_z, KMOD_NONE);
  EXPECT_EQ(Next(), WindowEventType::None);
}

TEST_F(SdlWindowTest, WindowEventsBecomeLoopEvents) {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_EQ(Next(), WindowEventType::Close);
  EXPECT_EQ(Next(), WindowEventType::Expose);
  EXPECT_EQ(Next(), WindowEventType::FocusLost);
  EXPECT_EQ(Next(), WindowEventType::FocusGained);
  EXPECT_EQ(Next(), WindowEventType::Hidden);
  EXPECT_EQ(Next(), WindowEventType::Shown);
  EXPECT_EQ(Next(), WindowEventType::Close);
}

TEST_F(SdlWindowTest, MaximizeIsReportedButNeverStays) {
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  EXPECT_EQ(Next(), WindowEventType::Maximize);
  EXPECT_EQ(SDL_GetWindowFlags(window.GetSdlWindow()) & SDL_WINDOW_MAXIMIZED, 0u);
  window.ShowFullScreen();  // full screen may come with a maximized state: not a request
  WindowEvent drained;
  while (window.PollEvent(drained)) {
  }
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  EXPECT_EQ(Next(), WindowEventType::None);
}

TEST_F(SdlWindowTest, WaitEventTimesOutWhenNothingComes) {
  WindowEvent event;
  EXPECT_FALSE(window.WaitEvent(event, 20));
  PushKey(SDLK_ESCAPE, KMOD_NONE);
  ASSERT_TRUE(window.WaitEvent(event, 1000));
  EXPECT_EQ(event.type, WindowEventType::Escape);
}

}  // namespace
}  // namespace vorlith
