#include "platform/headless/StderrDialogs.h"

#include "base/StderrMessage.h"

namespace vorlith {

void StderrDialogs::ShowMessage(const std::string& caption, const std::string& text) {
  PrintMessage(caption, text);
}

}  // namespace vorlith
