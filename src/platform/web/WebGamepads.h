#pragma once

#include <vector>

#include "platform/InputDevices.h"

namespace vorlith {

// The browser's game controllers through the Gamepad API, read the way the desktop reads
// SDL's: a pad with the standard mapping gives its left stick and every button in
// ControllerState's order; any other gives its axes 0 and 1 and raw buttons 0 to 3 as A to Y.
class WebGamepads {
 public:
  // Takes a new sample of every connected pad; true when one of a pad's pause buttons
  // (ControllerState's numbers, -1 for none) went down since the previous sample.
  bool Sample(const int (&pauseButtons)[2]);
  int GetCount() const { return static_cast<int>(pads.size()); }
  // False for an index without a pad.
  bool Read(int index, ControllerState& state) const;

  // An axis of -1..1 on the desktop's scale of -1000..1000 (as SDL's -32768..32767 is
  // scaled there).
  static int ScaleAxis(double value);

 private:
  std::vector<ControllerState> pads;
  std::vector<bool> startHeld;  // by the browser's pad index
};

}  // namespace vorlith
