#pragma once

#include "platform/Dialogs.h"

namespace vorlith {

// Message boxes without a display: one line "caption: text" on stderr; never blocks.
class StderrDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;
};

}  // namespace vorlith
