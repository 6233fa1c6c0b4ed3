#pragma once

#include "platform/Dialogs.h"

struct SDL_Window;

namespace vorlith {

// Blocking SDL message boxes with one OK button. When no box can be shown (no display),
// the message goes to stderr as "caption: text" instead.
class SdlDialogs : public Dialogs {
 public:
  explicit SdlDialogs(SDL_Window* owner = nullptr) : owner(owner) {}

  void ShowMessage(const std::string& caption, const std::string& text) override;
  // The window the boxes belong to; null for boxes of their own.
  void SetOwner(SDL_Window* window) { owner = window; }

 private:
  SDL_Window* owner;
};

}  // namespace vorlith
