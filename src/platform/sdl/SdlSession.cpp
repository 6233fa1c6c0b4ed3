#include "platform/sdl/SdlSession.h"

#include <SDL.h>
#ifndef _WIN32
#include <langinfo.h>
#endif

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "base/ForeignAllocationScope.h"
#include "platform/sdl/FontConfigAhead.h"
#include "platform/sdl/SdlVideo.h"

namespace vorlith {
namespace {

#ifndef _WIN32
// Message boxes draw Japanese text only under a UTF-8 locale; SDL reads it from the
// environment when it shows a box.
void PreferUtf8Locale() {
  if (!std::setlocale(LC_CTYPE, "")) return;
  const char* codeset = nl_langinfo(CODESET);
  const bool utf8 = codeset && std::strcmp(codeset, "UTF-8") == 0;
  std::setlocale(LC_CTYPE, "C");
  if (!utf8) setenv("LC_ALL", "C.UTF-8", 1);
}
#endif

}  // namespace

SdlSession::SdlSession() {
#ifndef _WIN32
  PreferUtf8Locale();
#endif
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Without a session bus, SDL's D-Bus start forks to launch one, and the child allocates
  // before it execs: a thread allocating at that moment can leave the child waiting forever
  // on an allocator lock (seen under AddressSanitizer). So the font thread starts after it.
  SDL_Init(SDL_INIT_EVENTS);
#ifndef _WIN32
  StartFontConfigAhead();  // read while the video driver and the window start
#endif
  videoProblem = OpenSdlVideo();
  ForeignAllocationScope driverAllocations;
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

SdlSession::~SdlSession() {
  SDL_Quit();
}

}  // namespace vorlith
