#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "base/ForeignAllocationScope.h"
#include "base/WindowPlacement.h"
#include "platform/QuitSignals.h"
#include "platform/sdl/SdlEventWait.h"

namespace vorlith {

SdlWindow::~SdlWindow() {
  Destroy();
}

bool SdlWindow::Create(const std::string& title, const std::string& iconPath) {
  Destroy();
  this->title = title;
  this->iconPath = iconPath;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_DisableScreenSaver();
  // The offscreen driver has no desktop and never hands out the focus: its one window is
  // always the window in front.
  const char* driver = SDL_GetCurrentVideoDriver();
  alwaysInFront = driver && std::strcmp(driver, "offscreen") == 0;
  return CreateSdlWindow(true) || CreateSdlWindow(false);
}

bool SdlWindow::CreateSdlWindow(bool accelerated) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, accelerated ? 1 : -1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // the game draws into its own framebuffer
  // Hidden until it is sized and placed, so it never shows at a wrong place.
  ForeignAllocationScope driverAllocations;
  window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1, 1,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return false;
  if (SDL_Surface* icon = IMG_Load(iconPath.c_str())) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
  SDL_ClearError();  // a missing icon is no error; a later failure says its own reason
  return true;
}

void SdlWindow::Destroy() {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  shown = false;
  fullScreen = false;
}

void SdlWindow::GetDesktopSize(int& width, int& height) const {
  const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  SDL_Rect bounds{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0) bounds = SDL_Rect{0, 0, 0, 0};
  width = bounds.w;
  height = bounds.h;
}

void SdlWindow::ShowWindowed(int width, int height) {
  windowedWidth = width;
  windowedHeight = height;
  if (!window) return;
  if (fullScreen) SDL_SetWindowFullscreen(window, 0);
  fullScreen = false;
  SDL_SetWindowSize(window, width, height);
  if (!shown) SDL_ShowWindow(window);
  shown = true;
  PlaceWindowed();
  SDL_RaiseWindow(window);
}

// Centres the outer window (client area plus the window manager's frame) on the desktop.
void SdlWindow::PlaceWindowed() {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  int desktopWidth = 0, desktopHeight = 0;
  GetDesktopSize(desktopWidth, desktopHeight);
  SDL_Rect bounds{0, 0, 0, 0};
  SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds);
  const long long outerWidth = static_cast<long long>(windowedWidth) + left + right;
  const long long outerHeight = static_cast<long long>(windowedHeight) + top + bottom;
  const long long x = static_cast<long long>(bounds.x) + CentredStart(desktopWidth, outerWidth);
  const long long y = static_cast<long long>(bounds.y) + CentredStart(desktopHeight, outerHeight);
  SDL_SetWindowPosition(window, ClampToInt(x + left), ClampToInt(y + top));
}

void SdlWindow::ShowFullScreen() {
  if (!window) return;
  if (!shown) SDL_ShowWindow(window);
  shown = true;
  fullScreen = true;
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_RaiseWindow(window);
}

void SdlWindow::GetClientSize(int& width, int& height) const {
  width = height = 0;
  if (window) SDL_GetWindowSize(window, &width, &height);
}

void SdlWindow::GetDrawableSize(int& width, int& height) const {
  width = height = 0;
  if (window) SDL_GL_GetDrawableSize(window, &width, &height);
}

void SdlWindow::GetPosition(int& x, int& y) const {
  x = y = 0;
  if (window) SDL_GetWindowPosition(window, &x, &y);
}

// On Windows SDL turns no console event into its quit event: Ctrl+C, Ctrl+Break and the
// console's close close the window here, once.
bool SdlWindow::QuitSignalArrived(WindowEvent& event) {
#ifdef _WIN32
  if (quitSignalSeen || !QuitSignals::Arrived()) return false;
  quitSignalSeen = true;
  event.type = WindowEventType::Close;
  return true;
#else
  (void)event;
  return false;
#endif
}

bool SdlWindow::PollEvent(WindowEvent& event) {
  if (QuitSignalArrived(event)) return true;
  SDL_Event sdlEvent;
  while (SDL_PollEvent(&sdlEvent)) {
    event.type = Translate(sdlEvent);
    if (event.type != WindowEventType::None) return true;
  }
  return false;
}

bool SdlWindow::WaitEvent(WindowEvent& event, int timeoutMs) {
  if (QuitSignalArrived(event)) return true;
  SDL_Event sdlEvent;
  if (!SdlEventWait::Wait(sdlEvent, timeoutMs)) return false;
  event.type = Translate(sdlEvent);
  return true;
}

WindowEventType SdlWindow::Translate(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return WindowEventType::Close;
  if (event.type == SDL_KEYDOWN) {
    const SDL_Keycode key = event.key.keysym.sym;
    if (key == SDLK_ESCAPE) return WindowEventType::Escape;
    if (event.key.repeat) return WindowEventType::None;
    const bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
    if (enter && (event.key.keysym.mod & KMOD_ALT)) return WindowEventType::ToggleFullScreen;
    if (key == SDLK_F1) return WindowEventType::Help;
    if (PausesOnKey(event.key.keysym.scancode)) return WindowEventType::Pause;
    return WindowEventType::None;
  }
  if (event.type == SDL_CONTROLLERBUTTONDOWN) {
    return PausesOnButton(event.cbutton.button) ? WindowEventType::Pause : WindowEventType::None;
  }
  if (event.type != SDL_WINDOWEVENT || !window ||
      event.window.windowID != SDL_GetWindowID(window)) {
    return WindowEventType::None;
  }
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      return WindowEventType::Close;
    case SDL_WINDOWEVENT_MAXIMIZED:
      // Full screen can come with a maximized state from the window manager: not a request.
      if (fullScreen) return WindowEventType::None;
      SDL_RestoreWindow(window);
      return WindowEventType::Maximize;
    case SDL_WINDOWEVENT_RESIZED:
      // Some window managers (evilwm) carry a maximize out by making the window cover the
      // screen without reporting a maximized state: the same request.
      return !fullScreen && CoversDesktop(event.window.data1, event.window.data2)
                 ? WindowEventType::Maximize
                 : WindowEventType::None;
    case SDL_WINDOWEVENT_EXPOSED:
      return WindowEventType::Expose;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      return WindowEventType::FocusGained;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return WindowEventType::FocusLost;
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
      return WindowEventType::Hidden;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
      return WindowEventType::Shown;
    default:
      return WindowEventType::None;
  }
}

bool SdlWindow::CoversDesktop(int width, int height) const {
  int desktopWidth = 0, desktopHeight = 0;
  GetDesktopSize(desktopWidth, desktopHeight);
  return desktopWidth > 0 && width >= desktopWidth && height >= desktopHeight;
}

bool SdlWindow::HasInputFocus() const {
  if (!window) return false;
  return alwaysInFront || (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlWindow::IsMinimized() const {
  if (!window) return true;
  const Uint32 flags = SDL_GetWindowFlags(window);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

void SdlWindow::OpenUrl(const std::string& url) {
  SDL_OpenURL(url.c_str());
}

}  // namespace vorlith
