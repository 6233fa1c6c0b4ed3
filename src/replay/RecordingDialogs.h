#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"

namespace vorlith {

// Shows messages through another Dialogs and remembers them until Clear, so that a trace
// can report the messages of each frame.
class RecordingDialogs : public Dialogs {
 public:
  explicit RecordingDialogs(std::unique_ptr<Dialogs> shown) : shown(std::move(shown)) {}

  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages.emplace_back(caption, text);
    if (shown) shown->ShowMessage(caption, text);
  }

  const std::vector<std::pair<std::string, std::string>>& GetMessages() const { return messages; }
  void Clear() { messages.clear(); }

 private:
  std::unique_ptr<Dialogs> shown;
  std::vector<std::pair<std::string, std::string>> messages;
};

}  // namespace vorlith
