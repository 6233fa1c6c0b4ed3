#pragma once

#include <string>

namespace vorlith {

// Blocking message boxes with one OK button.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

}  // namespace vorlith
