#pragma once

#include "platform/Dialogs.h"

namespace vorlith {

// Message boxes as the page's modal dialog (its caption, its text and an OK button). The
// game waits until the dialog is closed, giving the browser its thread meanwhile.
class WebDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;
};

}  // namespace vorlith
