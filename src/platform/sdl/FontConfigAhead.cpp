#include "platform/sdl/FontConfigAhead.h"

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <system_error>
#include <thread>

namespace vorlith {
namespace {

// The reading thread, joined by the first wait or at the program's end.
struct AheadThread {
  std::mutex mutex;
  std::thread thread;
  ~AheadThread() {
    if (thread.joinable()) thread.join();
  }
};

AheadThread& Ahead() {
  static AheadThread ahead;
  return ahead;
}

}  // namespace

void StartFontConfigAhead() {
  AheadThread& ahead = Ahead();
  const std::lock_guard<std::mutex> lock(ahead.mutex);
  if (ahead.thread.joinable()) return;
  try {
    ahead.thread = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to be had: the first lookup reads the configuration itself.
  }
}

void WaitForFontConfigAhead() {
  AheadThread& ahead = Ahead();
  const std::lock_guard<std::mutex> lock(ahead.mutex);
  if (ahead.thread.joinable()) ahead.thread.join();
}

}  // namespace vorlith
