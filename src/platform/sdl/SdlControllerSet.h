#pragma once

#include <atomic>
#include <vector>

#include "platform/InputDevices.h"

struct _SDL_GameController;
struct _SDL_Joystick;
union SDL_Event;

namespace vorlith {

// The game controllers and joysticks attached right now. SDL's device events (controller
// and joystick added or removed) mark the set as changed; Refresh then opens what came and
// closes what went, so a controller plugged in, or unplugged and plugged back, works at
// once. Devices with a mapping (SDL's built-in ones, SDL_GAMECONTROLLERCONFIG, the player's
// gamecontrollerdb.txt) are read as game controllers; the rest as plain joysticks.
class SdlControllerSet {
 public:
  // Loads the mappings; without SDL's game controller subsystem the set stays empty.
  SdlControllerSet();
  ~SdlControllerSet();
  SdlControllerSet(const SdlControllerSet&) = delete;
  SdlControllerSet& operator=(const SdlControllerSet&) = delete;

  void Refresh();
  int GetCount() const { return static_cast<int>(controllers.size()); }
  // False when the device cannot be read (it has gone since the last Refresh).
  bool Read(int index, ControllerState& state) const;

  // An SDL axis value (-32768..32767) on the -1000..1000 scale.
  static int ScaleAxis(int sdlValue);

 private:
  struct Controller {
    int instance = -1;
    _SDL_GameController* gameController = nullptr;
    _SDL_Joystick* joystick = nullptr;  // only for devices without a mapping
  };

  static int WatchDevices(void* self, SDL_Event* event);
  void CloseRemoved();
  void OpenAdded();
  bool IsOpen(int instance) const;

  bool active = false;
  std::atomic<bool> changed{true};  // device events may come from SDL's own threads
  std::vector<Controller> controllers;
};

}  // namespace vorlith
