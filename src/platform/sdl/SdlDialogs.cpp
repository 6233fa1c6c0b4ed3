#include "platform/sdl/SdlDialogs.h"

#include <SDL.h>

#include "base/StderrMessage.h"
#include "platform/sdl/MessageBoxSignals.h"

namespace vorlith {

void SdlDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  if (!MessageBoxSignalScope::Pending()) {
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
