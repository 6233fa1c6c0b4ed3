#pragma once

#include <string>

namespace vorlith {

// SDL's initialisation for the lifetime of the desktop's platform: a UTF-8 locale for the
// message boxes, fontconfig read ahead, the events, the video driver and the game
// controllers. SDL_Quit when it ends.
class SdlSession {
 public:
  SdlSession();
  ~SdlSession();
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;

  // Why the video driver did not start ("" when it did).
  const std::string& GetVideoProblem() const { return videoProblem; }

 private:
  std::string videoProblem;
};

}  // namespace vorlith
