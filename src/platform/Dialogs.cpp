#include "platform/Dialogs.h"

#include <cstdio>

namespace vorlith {
namespace {
Dialogs* installedDialogs = nullptr;
}

void SetDialogs(Dialogs* dialogs) {
  installedDialogs = dialogs;
}

Dialogs* GetDialogs() {
  return installedDialogs;
}

void ShowMessageBox(const std::string& text, const std::string& caption) {
  if (installedDialogs) {
    installedDialogs->ShowMessage(caption, text);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace vorlith
