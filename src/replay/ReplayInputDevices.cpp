#include "replay/ReplayInputDevices.h"

namespace vorlith {

ReplayInputDevices::ReplayInputDevices(ReplayStream* replay) : replay(replay) {}

bool ReplayInputDevices::ReadKeyboard(KeyboardState& state) {
  const ReplayControls controls = replay->ReadFrame();
  ++framesRead;
  state = KeyboardState{};
  state.up = controls & 0x01;
  state.down = controls & 0x02;
  state.left = controls & 0x04;
  state.right = controls & 0x08;
  state.z = controls & 0x10;
  state.x = controls & 0x20;
  state.c = controls & 0x40;
  state.v = controls & 0x80;
  return true;
}

bool ReplayInputDevices::IsFinished() const {
  return framesRead >= replay->GetFrameCount();
}

}  // namespace vorlith
