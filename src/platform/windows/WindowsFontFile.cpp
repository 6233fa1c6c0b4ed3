#include <sys/stat.h>

#include "platform/ExecutablePath.h"
#include "platform/sdl/TtfFontRasterizer.h"
#include "platform/win32/WideText.h"

namespace vorlith {

// Windows has no fontconfig: the game's faces, IPA Gothic (fixed pitch) and IPA P Gothic
// (proportional), are shipped in fonts/ beside the program and stand in for every face name.
std::string TtfFontRasterizer::FindFontFile(const std::string&, int& faceIndex, bool proportional) {
  faceIndex = 0;
  const std::string path =
      ExecutableDirectory() + "/fonts/" + (proportional ? "ipagp.ttf" : "ipag.ttf");
  struct _stat64 info {};
  if (_wstat64(Widen(path).c_str(), &info) != 0) return {};
  return path;
}

}  // namespace vorlith
