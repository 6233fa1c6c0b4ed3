#include "platform/QuitSignals.h"
#include "platform/sdl/MessageBoxSignals.h"

namespace vorlith {
namespace {

bool boxShown = false;  // a box has been shown since the program started

}  // namespace

// Windows shows a message box in this process (no child to end): Ctrl+C or the console's
// close while one is up ends the program after the box, as it would outside it.
MessageBoxSignalScope::MessageBoxSignalScope() {
  boxShown = true;
}

MessageBoxSignalScope::~MessageBoxSignalScope() = default;

bool MessageBoxSignalScope::Pending() {
  return boxShown && QuitSignals::Arrived();
}

}  // namespace vorlith
