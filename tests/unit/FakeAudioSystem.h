#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/AudioDevice.h"

namespace vorlith {

// What the devices of a fake audio system did. A released buffer's record (and id) is taken
// by the next buffer created.
struct FakeAudioLog {
  struct PlayRecord {
    std::uint32_t buffer = 0;
    std::uint32_t voice = 0;
    float gain = 1.0f;
  };
  struct BufferRecord {
    std::size_t bytes = 0;
    bool released = false;
  };

  std::vector<PlayRecord> plays;
  std::vector<BufferRecord> buffers;  // index = buffer id - 1
  std::size_t voicesCreated = 0, voicesReleased = 0, stops = 0;
  std::size_t devicesOpened = 0, devicesClosed = 0;
};

// Steps the fake fails on purpose (tests of how the game copes).
struct FakeAudioFaults {
  bool openDevice = false, claim = false, createMix = false, setOutputFormat = false;
  bool createBuffer = false;
  int voicesBeforeFailure = -1;  // per buffer; -1: voices never fail
};

// Silent devices that take every playable format, remember what played and fail where told.
class FakeAudioSystem : public AudioSystem {
 public:
  std::unique_ptr<AudioDevice> OpenDevice() override {
    if (faults->openDevice) return nullptr;
    return std::make_unique<Device>(log, faults);
  }
  void SetPaused(bool on) override { paused = on; }

  std::shared_ptr<FakeAudioLog> log = std::make_shared<FakeAudioLog>();
  std::shared_ptr<FakeAudioFaults> faults = std::make_shared<FakeAudioFaults>();
  bool paused = false;

 private:
  class Device : public AudioDevice {
   public:
    Device(std::shared_ptr<FakeAudioLog> log, std::shared_ptr<FakeAudioFaults> faults)
        : log(std::move(log)), faults(std::move(faults)) {
      ++this->log->devicesOpened;
    }
    ~Device() override { ++log->devicesClosed; }

    bool Claim() override { return !faults->claim; }
    bool CreateMix() override { return !faults->createMix; }
    bool SetOutputFormat(int, int, int) override { return !faults->setOutputFormat; }
    std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                               std::size_t bytes) override {
      if (faults->createBuffer || !data || !IsPlayableFormat(format, bytes)) return 0;
      std::size_t frame = static_cast<std::size_t>(format.channels * format.bitsPerSample / 8);
      std::size_t i = 0;
      while (i < log->buffers.size() && !log->buffers[i].released) ++i;
      if (i == log->buffers.size()) log->buffers.emplace_back();
      log->buffers[i] = {bytes - bytes % frame, false};
      voicesPerBuffer.erase(static_cast<std::uint32_t>(i + 1));
      return static_cast<std::uint32_t>(i + 1);
    }
    void ReleaseBuffer(std::uint32_t buffer) override {
      if (buffer >= 1 && buffer <= log->buffers.size()) log->buffers[buffer - 1].released = true;
    }
    std::uint32_t CreateVoice(std::uint32_t buffer) override {
      if (buffer < 1 || buffer > log->buffers.size() || log->buffers[buffer - 1].released) return 0;
      int& made = voicesPerBuffer[buffer];
      if (faults->voicesBeforeFailure >= 0 && made >= faults->voicesBeforeFailure) return 0;
      ++made;
      ++log->voicesCreated;
      voices[nextVoice] = {buffer, 1.0f};
      return nextVoice++;
    }
    void ReleaseVoice(std::uint32_t voice) override { log->voicesReleased += voices.erase(voice); }
    void SetGain(std::uint32_t voice, float gain) override {
      if (voices.count(voice)) voices[voice].gain = gain;
    }
    void Play(std::uint32_t voice) override {
      if (voices.count(voice))
        log->plays.push_back({voices[voice].buffer, voice, voices[voice].gain});
    }
    void Stop(std::uint32_t voice) override { log->stops += voices.count(voice); }
    bool IsPlaying(std::uint32_t) override { return false; }

   private:
    struct Voice {
      std::uint32_t buffer = 0;
      float gain = 1.0f;
    };
    std::shared_ptr<FakeAudioLog> log;
    std::shared_ptr<FakeAudioFaults> faults;
    std::map<std::uint32_t, Voice> voices;
    std::map<std::uint32_t, int> voicesPerBuffer;
    std::uint32_t nextVoice = 1;
  };
};

}  // namespace vorlith
