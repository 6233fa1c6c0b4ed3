#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/AudioDevice.h"

namespace vorlith {

// What a silent device did, for tests and headless runs. Its size stays bounded however long
// the run: only the latest plays are kept, and a released buffer's record (and id) is taken
// by the next buffer created.
struct SilentAudioLog {
  static constexpr std::size_t kKeptPlays = 4096;

  struct PlayRecord {
    std::uint32_t buffer = 0;
    std::uint32_t voice = 0;
    float gain = 1.0f;
  };
  struct BufferRecord {
    PcmFormat format;
    std::size_t bytes = 0;
    bool released = false;
  };

  std::vector<PlayRecord> plays;      // the latest, oldest first; at most kKeptPlays
  std::size_t playCount = 0;          // every play since the start
  std::vector<BufferRecord> buffers;  // index = buffer id - 1
  std::size_t voicesCreated = 0;
  std::size_t voicesReleased = 0;
  std::size_t devicesOpened = 0;
  std::size_t devicesClosed = 0;
  std::size_t stops = 0;
};

// Steps a silent device fails on purpose (tests of how the game copes).
struct SilentAudioFaults {
  bool openDevice = false;
  bool claim = false;
  bool createMix = false;
  bool setOutputFormat = false;
  bool createBuffer = false;
  int voicesBeforeFailure = -1;  // per buffer; -1: voices never fail
};

// Opens devices that play nothing, take every playable format and remember what played.
// A silent voice has finished the moment it starts.
class SilentAudioSystem : public AudioSystem {
 public:
  SilentAudioSystem();
  std::unique_ptr<AudioDevice> OpenDevice() override;
  void SetPaused(bool on) override { paused = on; }
  bool IsPaused() const { return paused; }

  const SilentAudioLog& GetLog() const { return *log; }
  void ClearPlays() { log->plays.clear(); }
  SilentAudioFaults& Faults() { return *faults; }

  // A silent device on its own, for a real system that has no output to open.
  static std::unique_ptr<AudioDevice> MakeDevice();

 private:
  std::shared_ptr<SilentAudioLog> log;
  std::shared_ptr<SilentAudioFaults> faults;
  bool paused = false;
};

}  // namespace vorlith
