#include "platform/headless/SilentAudioSystem.h"

#include <vector>

namespace vorlith {
namespace {

// Remembers only which buffers are live (a released buffer's id goes to the next one made),
// so its size stays bounded however long the run.
class SilentAudioDevice : public AudioDevice {
 public:
  bool Claim() override { return true; }
  bool CreateMix() override { return true; }
  bool SetOutputFormat(int, int, int) override { return true; }

  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                             std::size_t bytes) override {
    if (!data || !IsPlayableFormat(format, bytes)) return 0;
    for (std::size_t i = 0; i < live.size(); ++i) {
      if (live[i]) continue;
      live[i] = true;
      return static_cast<std::uint32_t>(i + 1);
    }
    live.push_back(true);
    return static_cast<std::uint32_t>(live.size());
  }

  void ReleaseBuffer(std::uint32_t buffer) override {
    if (buffer >= 1 && buffer <= live.size()) live[buffer - 1] = false;
  }

  std::uint32_t CreateVoice(std::uint32_t buffer) override {
    if (buffer < 1 || buffer > live.size() || !live[buffer - 1]) return 0;
    return nextVoice++;
  }

  void ReleaseVoice(std::uint32_t) override {}
  void SetGain(std::uint32_t, float) override {}
  void Play(std::uint32_t) override {}
  void Stop(std::uint32_t) override {}
  bool IsPlaying(std::uint32_t) override { return false; }

 private:
  std::vector<bool> live;
  std::uint32_t nextVoice = 1;
};

}  // namespace

std::unique_ptr<AudioDevice> SilentAudioSystem::MakeDevice() {
  return std::make_unique<SilentAudioDevice>();
}

}  // namespace vorlith
