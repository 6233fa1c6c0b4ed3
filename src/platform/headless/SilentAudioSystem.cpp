#include "platform/headless/SilentAudioSystem.h"

#include <map>

namespace vorlith {
namespace {

class SilentAudioDevice : public AudioDevice {
 public:
  SilentAudioDevice(std::shared_ptr<SilentAudioLog> log, std::shared_ptr<SilentAudioFaults> faults)
      : log(std::move(log)), faults(std::move(faults)) {
    ++this->log->devicesOpened;
  }
  ~SilentAudioDevice() override { ++log->devicesClosed; }

  bool Claim() override { return !faults->claim; }
  bool CreateMix() override { return !faults->createMix; }
  bool SetOutputFormat(int, int, int) override { return !faults->setOutputFormat; }

  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                             std::size_t bytes) override {
    if (faults->createBuffer || !data || !IsPlayableFormat(format, bytes)) return 0;
    std::size_t frame = static_cast<std::size_t>(format.channels * format.bitsPerSample / 8);
    const SilentAudioLog::BufferRecord record{format, bytes - bytes % frame, false};
    for (std::size_t i = 0; i < log->buffers.size(); ++i) {
      if (!log->buffers[i].released) continue;
      log->buffers[i] = record;
      voicesPerBuffer.erase(static_cast<std::uint32_t>(i + 1));
      return static_cast<std::uint32_t>(i + 1);
    }
    log->buffers.push_back(record);
    return static_cast<std::uint32_t>(log->buffers.size());
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

  void ReleaseVoice(std::uint32_t voice) override {
    if (voices.erase(voice) > 0) ++log->voicesReleased;
  }

  void SetGain(std::uint32_t voice, float gain) override {
    auto found = voices.find(voice);
    if (found != voices.end()) found->second.gain = gain;
  }

  void Play(std::uint32_t voice) override {
    auto found = voices.find(voice);
    if (found == voices.end()) return;
    ++log->playCount;
    if (log->plays.size() == SilentAudioLog::kKeptPlays) {
      log->plays.erase(log->plays.begin(), log->plays.begin() + SilentAudioLog::kKeptPlays / 2);
    }
    log->plays.push_back({found->second.buffer, voice, found->second.gain});
  }

  void Stop(std::uint32_t voice) override {
    if (voices.count(voice) > 0) ++log->stops;
  }

  bool IsPlaying(std::uint32_t) override { return false; }

 private:
  struct Voice {
    std::uint32_t buffer;
    float gain;
  };

  std::shared_ptr<SilentAudioLog> log;
  std::shared_ptr<SilentAudioFaults> faults;
  std::map<std::uint32_t, Voice> voices;
  std::map<std::uint32_t, int> voicesPerBuffer;
  std::uint32_t nextVoice = 1;
};

}  // namespace

SilentAudioSystem::SilentAudioSystem()
    : log(std::make_shared<SilentAudioLog>()), faults(std::make_shared<SilentAudioFaults>()) {}

std::unique_ptr<AudioDevice> SilentAudioSystem::OpenDevice() {
  if (faults->openDevice) return nullptr;
  return std::make_unique<SilentAudioDevice>(log, faults);
}

std::unique_ptr<AudioDevice> SilentAudioSystem::MakeDevice() {
  return std::make_unique<SilentAudioDevice>(std::make_shared<SilentAudioLog>(),
                                             std::make_shared<SilentAudioFaults>());
}

}  // namespace vorlith
