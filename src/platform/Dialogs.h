#pragma once

#include <string>

namespace vorlith {

// Blocking message boxes with one OK button.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

// Process-wide message box, as the game shows it from anywhere. Goes to the installed
// Dialogs; with none installed it prints "caption: text" on stderr.
void SetDialogs(Dialogs* dialogs);
Dialogs* GetDialogs();
void ShowMessageBox(const std::string& text, const std::string& caption);

}  // namespace vorlith
