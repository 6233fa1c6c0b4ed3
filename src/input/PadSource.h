#pragma once

#include "input/PadState.h"

namespace vorlith {

// Where the game's controls come from: one read a frame gives the pad the frame plays with.
// The live keyboard and controllers are one source, a replay another; the game cannot tell
// them apart.
class PadSource {
 public:
  virtual ~PadSource() = default;
  // The controls held in this frame; called once a frame, before anything reads them.
  virtual PadState ReadPad() = 0;
};

}  // namespace vorlith
