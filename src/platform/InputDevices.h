#pragma once

namespace vorlith {

// The keys the game maps, held or not in the current frame.
struct KeyboardState {
  bool up = false, down = false, left = false, right = false;
  bool z = false, x = false, c = false, v = false;
  bool e = false, d = false, s = false, f = false;
  bool h = false;  // the high score table
};

// One game controller: left stick as axes scaled to -1000..1000 (negative = left / up),
// its first four buttons (A, B, X, Y; raw buttons 0 to 3 without a mapping) and its D-pad
// (never held on a joystick without a mapping).
struct ControllerState {
  int axisX = 0, axisY = 0;
  bool buttons[4] = {false, false, false, false};
  bool up = false, down = false, left = false, right = false;
  bool back = false;  // Back (Select): the high score table
};

// Keyboard and game controllers.
class InputDevices {
 public:
  virtual ~InputDevices() = default;
  // Takes in the controllers attached or removed since the last call; called once a frame
  // before anything is read.
  virtual void Refresh() {}
  // False when the keyboard cannot be read this frame (no focus): the caller skips it.
  virtual bool ReadKeyboard(KeyboardState& state) = 0;
  virtual int GetControllerCount() const = 0;
  // False when this controller cannot be read this frame.
  virtual bool ReadController(int index, ControllerState& state) = 0;
};

}  // namespace vorlith
