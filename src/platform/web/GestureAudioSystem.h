#pragma once

#include <memory>
#include <set>

#include "platform/AudioDevice.h"

namespace vorlith {

class HeldAudioDevice;

// Sound in a page: browsers let a page start sound only after a user's gesture in it (a
// key press, a click) and warn of every try before. Until the first gesture the devices
// handed out are held (HeldAudioDevice: the game plays on, unheard); the gesture opens the
// real outputs of the wrapped system behind them, and devices opened after it start at once.
class GestureAudioSystem : public AudioSystem {
 public:
  explicit GestureAudioSystem(std::unique_ptr<AudioSystem> system);
  ~GestureAudioSystem() override;

  std::unique_ptr<AudioDevice> OpenDevice() override;
  void SetPaused(bool paused) override { system->SetPaused(paused); }

  // A key press or click in the page: the held devices start if the browser now lets sound.
  void NoteGesture();

  // The held devices open now, shared with them (each leaves when it closes).
  using OpenDevices = std::set<HeldAudioDevice*>;

 private:
  bool MayStartSound() const;
  void Listen(bool on);

  std::unique_ptr<AudioSystem> system;
  std::shared_ptr<OpenDevices> openDevices;
  bool gestureSeen = false;
};

}  // namespace vorlith
