#include "input/Bindings.h"

#include <cstring>

#include "input/KeyNames.h"

namespace vorlith {
namespace {

constexpr const char* kNames[Bindings::kActionCount] = {"up", "down",     "left",   "right", "fire",
                                                        "x",  "continue", "return", "pause"};
// Up, Down, Left, Right, Z, X, C, V, P.
constexpr int kKeys[Bindings::kActionCount] = {82, 81, 80, 79, 29, 27, 6, 25, 19};
// dpup, dpdown, dpleft, dpright, a, b, x, y, start.
constexpr int kButtons[Bindings::kActionCount] = {11, 12, 13, 14, 0, 1, 2, 3, 6};

int Find(const std::array<Bindings::Pair, Bindings::kActionCount>& table, int value, int except) {
  for (int action = 0; action < Bindings::kActionCount; ++action) {
    if (action == except) continue;
    for (int held : table[action]) {
      if (held == value) return action;
    }
  }
  return -1;
}

}  // namespace

Bindings::Bindings() {
  for (int action = 0; action < kActionCount; ++action) {
    keys[action] = DefaultKeys(action);
    buttons[action] = DefaultButtons(action);
  }
}

const char* Bindings::ActionName(int action) {
  return action >= 0 && action < kActionCount ? kNames[action] : "";
}

int Bindings::ActionFromName(const char* name, std::size_t length) {
  for (int action = 0; action < kActionCount; ++action) {
    if (std::strlen(kNames[action]) == length && std::strncmp(kNames[action], name, length) == 0) {
      return action;
    }
  }
  return -1;
}

Bindings::Pair Bindings::DefaultKeys(int action) {
  return {kKeys[action], KeyNames::kNoKey};
}

Bindings::Pair Bindings::DefaultButtons(int action) {
  return {kButtons[action], KeyNames::kNoButton};
}

bool Bindings::HoldsKey(int action, int code) const {
  return code != KeyNames::kNoKey && (keys[action][0] == code || keys[action][1] == code);
}

bool Bindings::HoldsButton(int action, int button) const {
  return button != KeyNames::kNoButton &&
         (buttons[action][0] == button || buttons[action][1] == button);
}

int Bindings::ActionOfKey(int code, int except) const {
  return code == KeyNames::kNoKey ? -1 : Find(keys, code, except);
}

int Bindings::ActionOfButton(int button, int except) const {
  return button == KeyNames::kNoButton ? -1 : Find(buttons, button, except);
}

}  // namespace vorlith
