#include "platform/sdl/SdlDialogs.h"

#include <SDL.h>

#include "platform/headless/StderrDialogs.h"

namespace vorlith {

void SdlDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  if (SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), owner) == 0) return;
  StderrDialogs().ShowMessage(caption, text);
}

}  // namespace vorlith
