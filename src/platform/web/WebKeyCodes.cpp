#include "platform/web/WebKeyCodes.h"

#include <cstring>
#include <iterator>

namespace vorlith {
namespace {

// The keys a player can bind, and E, D, S, F.
constexpr WebKeyCode kCodes[] = {{4, "KeyA"},
                                 {5, "KeyB"},
                                 {6, "KeyC"},
                                 {7, "KeyD"},
                                 {8, "KeyE"},
                                 {9, "KeyF"},
                                 {10, "KeyG"},
                                 {11, "KeyH"},
                                 {12, "KeyI"},
                                 {13, "KeyJ"},
                                 {14, "KeyK"},
                                 {15, "KeyL"},
                                 {16, "KeyM"},
                                 {17, "KeyN"},
                                 {18, "KeyO"},
                                 {19, "KeyP"},
                                 {20, "KeyQ"},
                                 {21, "KeyR"},
                                 {22, "KeyS"},
                                 {23, "KeyT"},
                                 {24, "KeyU"},
                                 {25, "KeyV"},
                                 {26, "KeyW"},
                                 {27, "KeyX"},
                                 {28, "KeyY"},
                                 {29, "KeyZ"},
                                 {30, "Digit1"},
                                 {31, "Digit2"},
                                 {32, "Digit3"},
                                 {33, "Digit4"},
                                 {34, "Digit5"},
                                 {35, "Digit6"},
                                 {36, "Digit7"},
                                 {37, "Digit8"},
                                 {38, "Digit9"},
                                 {39, "Digit0"},
                                 {40, "Enter"},
                                 {42, "Backspace"},
                                 {43, "Tab"},
                                 {44, "Space"},
                                 {45, "Minus"},
                                 {46, "Equal"},
                                 {47, "BracketLeft"},
                                 {48, "BracketRight"},
                                 {49, "Backslash"},
                                 {51, "Semicolon"},
                                 {52, "Quote"},
                                 {53, "Backquote"},
                                 {54, "Comma"},
                                 {55, "Period"},
                                 {56, "Slash"},
                                 {57, "CapsLock"},
                                 {59, "F2"},
                                 {60, "F3"},
                                 {61, "F4"},
                                 {62, "F5"},
                                 {63, "F6"},
                                 {64, "F7"},
                                 {65, "F8"},
                                 {66, "F9"},
                                 {67, "F10"},
                                 {68, "F11"},
                                 {69, "F12"},
                                 {73, "Insert"},
                                 {74, "Home"},
                                 {75, "PageUp"},
                                 {76, "Delete"},
                                 {77, "End"},
                                 {78, "PageDown"},
                                 {79, "ArrowRight"},
                                 {80, "ArrowLeft"},
                                 {81, "ArrowDown"},
                                 {82, "ArrowUp"},
                                 {84, "NumpadDivide"},
                                 {85, "NumpadMultiply"},
                                 {86, "NumpadSubtract"},
                                 {87, "NumpadAdd"},
                                 {88, "NumpadEnter"},
                                 {89, "Numpad1"},
                                 {90, "Numpad2"},
                                 {91, "Numpad3"},
                                 {92, "Numpad4"},
                                 {93, "Numpad5"},
                                 {94, "Numpad6"},
                                 {95, "Numpad7"},
                                 {96, "Numpad8"},
                                 {97, "Numpad9"},
                                 {98, "Numpad0"},
                                 {99, "NumpadDecimal"},
                                 {224, "ControlLeft"},
                                 {225, "ShiftLeft"},
                                 {226, "AltLeft"},
                                 {228, "ControlRight"},
                                 {229, "ShiftRight"},
                                 {230, "AltRight"}};

}  // namespace

const WebKeyCode* WebKeyCodes::begin() const {
  return std::begin(kCodes);
}

const WebKeyCode* WebKeyCodes::end() const {
  return std::end(kCodes);
}

int WebKeyCodes::UsageOf(const char* code) {
  for (const WebKeyCode& key : kCodes) {
    if (std::strcmp(key.code, code) == 0) return key.usage;
  }
  return 0;
}

}  // namespace vorlith
