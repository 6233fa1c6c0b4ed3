#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeAudioSystem.h"
#include "FakeClock.h"
#include "FakeRenderDevice.h"
#include "FakeWindow.h"
#include "platform/Dialogs.h"
#include "platform/InputDevices.h"
#include "platform/Platform.h"

namespace vorlith::testing {

// Remembers every message box instead of showing it.
class RecordingDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
  }
  std::vector<std::pair<std::string, std::string>> shown;  // caption, text
};

// Keyboard and controllers held as a test sets them; the keyboard (the window in the
// background) or a controller can be made unreadable.
class HeldKeys : public InputDevices {
 public:
  bool ReadKeyboard(KeyboardState& state) override {
    state = keys;
    return keyboardReadable;
  }
  int GetControllerCount() const override { return static_cast<int>(controllers.size()); }
  bool ReadController(int index, ControllerState& state) override {
    state = controllers[index];
    return controllerReadable.empty() || controllerReadable[index];
  }
  KeyboardState keys;
  bool keyboardReadable = true;
  std::vector<ControllerState> controllers;
  std::vector<bool> controllerReadable;  // empty: all readable
  // Key positions as KeyboardState numbers them.
  static constexpr int kZ = 29, kC = 6, kV = 25, kO = 18;
};

// A headless platform whose parts a test can still reach after handing it over.
struct TestPlatform {
  std::unique_ptr<Platform> platform = std::make_unique<Platform>();
  FakeWindow* window = nullptr;
  RecordingDialogs* dialogs = nullptr;
  FakeClock* clock = nullptr;
  HeldKeys* input = nullptr;
  FakeRenderDevice* device = nullptr;  // set once the application made it
  FakeAudioSystem* audio = nullptr;

  TestPlatform() {
    window = Own(platform->window, std::make_unique<FakeWindow>(1280, 1024));
    dialogs = Own(platform->dialogs, std::make_unique<RecordingDialogs>());
    clock = Own(platform->clock, std::make_unique<FakeClock>(5000));
    input = Own(platform->inputDevices, std::make_unique<HeldKeys>());
    audio = Own(platform->audioSystem, std::make_unique<FakeAudioSystem>());
    platform->makeRenderDevice = [this] {
      auto made = std::make_unique<FakeRenderDevice>(window);
      device = made.get();
      return made;
    };
  }

  template <class Part, class Made>
  static Made* Own(std::unique_ptr<Part>& slot, std::unique_ptr<Made> made) {
    Made* raw = made.get();
    slot = std::move(made);
    return raw;
  }

  // Hands the platform over; the pointers above stay valid while its new owner lives.
  std::unique_ptr<Platform> Take() { return std::move(platform); }
};

}  // namespace vorlith::testing
