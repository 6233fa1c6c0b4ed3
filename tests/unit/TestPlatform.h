#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/FakeClock.h"
#include "platform/HeadlessRenderDevice.h"
#include "platform/HeadlessWindow.h"
#include "platform/InputDevices.h"
#include "platform/Platform.h"
#include "platform/SilentAudioSystem.h"

namespace vorlith::testing {

// Remembers every message box instead of showing it.
class RecordingDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
  }
  std::vector<std::pair<std::string, std::string>> shown;  // caption, text
};

// Keyboard held as a test sets it; no controllers.
class HeldKeys : public InputDevices {
 public:
  bool ReadKeyboard(KeyboardState& state) override {
    state = keys;
    return true;
  }
  int GetControllerCount() const override { return 0; }
  bool ReadController(int, ControllerState&) override { return false; }
  KeyboardState keys;
};

// A headless platform whose parts a test can still reach after handing it over.
struct TestPlatform {
  std::unique_ptr<Platform> platform = std::make_unique<Platform>();
  HeadlessWindow* window = nullptr;
  RecordingDialogs* dialogs = nullptr;
  FakeClock* clock = nullptr;
  HeldKeys* input = nullptr;
  HeadlessRenderDevice* device = nullptr;  // set once the application made it
  SilentAudioSystem* audio = nullptr;
  bool deviceCreateFails = false;

  TestPlatform() {
    auto ownWindow = std::make_unique<HeadlessWindow>(1280, 1024);
    window = ownWindow.get();
    platform->window = std::move(ownWindow);
    auto ownDialogs = std::make_unique<RecordingDialogs>();
    dialogs = ownDialogs.get();
    platform->dialogs = std::move(ownDialogs);
    auto ownClock = std::make_unique<FakeClock>(5000);
    clock = ownClock.get();
    platform->clock = std::move(ownClock);
    auto ownInput = std::make_unique<HeldKeys>();
    input = ownInput.get();
    platform->inputDevices = std::move(ownInput);
    auto ownAudio = std::make_unique<SilentAudioSystem>();
    audio = ownAudio.get();
    platform->audioSystem = std::move(ownAudio);
    platform->makeRenderDevice = [this] {
      auto made = std::make_unique<HeadlessRenderDevice>(window);
      made->SetCreateFails(deviceCreateFails);
      device = made.get();
      return made;
    };
  }

  // Hands the platform over; the pointers above stay valid while its new owner lives.
  std::unique_ptr<Platform> Take() { return std::move(platform); }
};

}  // namespace vorlith::testing
