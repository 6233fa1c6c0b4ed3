#include "platform/web/WebDialogs.h"

#include <emscripten.h>

#include "base/StderrMessage.h"

namespace vorlith {
namespace {

constexpr int kLookMs = 50;  // how often the closed dialog is looked for

}  // namespace

// The page defines vorlithShowMessage (opens the dialog, false when it has none) and
// vorlithMessageOpen.
void WebDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  // clang-format off
  const int shown = EM_ASM_INT({
    return typeof vorlithShowMessage === 'function' &&
           vorlithShowMessage(UTF8ToString($0), UTF8ToString($1)) ? 1 : 0;
  }, caption.c_str(), text.c_str());
  // clang-format on
  if (!shown) {
    PrintMessage(caption, text);
    return;
  }
  while (EM_ASM_INT({ return vorlithMessageOpen() ? 1 : 0; })) emscripten_sleep(kLookMs);
}

}  // namespace vorlith
