#pragma once

namespace vorlith {

// The keys held in the current frame, by position: USB HID usages, as SDL's scancodes
// number them (4 = A, 29 = Z, 44 = Space, 79 to 82 = Right, Left, Down, Up).
struct KeyboardState {
  static constexpr int kKeyCount = 512;
  bool held[kKeyCount] = {};
};

// One game controller: left stick as axes scaled to -1000..1000 (negative = left / up) and
// its buttons in SDL's game controller order (A, B, X, Y, Back, Guide, Start, left and right
// stick, left and right shoulder, D-pad up, down, left, right). A joystick without a mapping
// gives its raw buttons 0 to 3 as A, B, X, Y and nothing else.
struct ControllerState {
  static constexpr int kButtonCount = 15;
  int axisX = 0, axisY = 0;
  bool buttons[kButtonCount] = {};
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
