#include "platform/openal/AudioLibraryNoise.h"

#ifndef __EMSCRIPTEN__
#include <dlfcn.h>
#endif

#include <cstdlib>

namespace vorlith {
#ifndef __EMSCRIPTEN__  // the browser's OpenAL has no ALSA under it
namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

// libasound as OpenAL Soft loaded it, looked up at run time (building needs no ALSA headers);
// the handle stays open, so the handler stays in place.
void TurnAlsaErrorsOff() {
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (!alsa) return;
  auto set = reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set) set(IgnoreAlsaError);
}

}  // namespace
#endif

void KeepAudioLibrariesQuiet() {
  static bool decided = false;
  if (decided) return;
  decided = true;
  if (std::getenv("ALSOFT_LOGLEVEL")) return;
  setenv("ALSOFT_LOGLEVEL", "0", 1);  // read when OpenAL Soft first starts
#ifndef __EMSCRIPTEN__
  TurnAlsaErrorsOff();
#endif
}

}  // namespace vorlith
