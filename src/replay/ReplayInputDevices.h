#pragma once

#include <cstdint>

#include "platform/InputDevices.h"
#include "replay/ReplayStream.h"

namespace vorlith {

// Input that plays a replay: each keyboard read is one frame of it, so the frame
// count follows the game's input refreshes. No controllers.
class ReplayInputDevices : public InputDevices {
 public:
  explicit ReplayInputDevices(ReplayStream* replay);  // borrowed

  bool ReadKeyboard(KeyboardState& state) override;
  int GetControllerCount() const override { return 0; }
  bool ReadController(int, ControllerState&) override { return false; }

  // Every frame of the script has been read.
  bool IsFinished() const;
  std::int64_t GetFramesRead() const { return framesRead; }

 private:
  ReplayStream* replay;
  std::int64_t framesRead = 0;
};

}  // namespace vorlith
