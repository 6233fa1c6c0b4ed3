#include <emscripten.h>

#include "platform/Platform.h"

namespace vorlith {
namespace {

// What the page's main loop runs; owned by the browser's loop from the first call on.
std::function<bool()> browserPass;

void RunBrowserPass() {
  if (browserPass()) return;
  emscripten_cancel_main_loop();
  browserPass = nullptr;
  // The page says so (its vorlithEnded); the last picture stays.
  // clang-format off
  EM_ASM({ if (typeof vorlithEnded === 'function') vorlithEnded(); });
  // clang-format on
}

}  // namespace

// fps 0: called at the display's refresh; main's stack is left (main returns to the
// browser), so everything the pass uses must live elsewhere.
void RunBrowserMainLoop(std::function<bool()> pass) {
  browserPass = std::move(pass);
  emscripten_set_main_loop(RunBrowserPass, 0, EM_TRUE);
}

}  // namespace vorlith
