#include "platform/sdl/SdlDialogs.h"

#include <SDL.h>

#include "base/StderrMessage.h"
#ifndef _WIN32
#include "platform/sdl/FontConfigAhead.h"
#endif
#include "platform/sdl/MessageBoxSignals.h"

namespace vorlith {

void SdlDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  if (!MessageBoxSignalScope::Pending()) {
#ifndef _WIN32
    // SDL shows the box from a forked child, which allocates before it can draw: no thread of
    // ours may be allocating at that moment (a lock held across the fork never opens in the
    // child; seen under AddressSanitizer). The font thread is the one that may still run.
    WaitForFontConfigAhead();
#endif
    bool shown = false;
    {
      MessageBoxSignalScope signals;
      shown = SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), owner) == 0;
    }
    if (shown && !MessageBoxSignalScope::Pending()) return;
  }
  // Not shown, or ended by SIGTERM, SIGINT or SIGHUP: the message still reaches stderr, and the
  // program ends as that signal would have ended it outside the box.
  PrintMessage(caption, text);
  if (MessageBoxSignalScope::Pending()) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

}  // namespace vorlith
