#include "sound/KeptAudioSystem.h"

#include <algorithm>

namespace vorlith {

// One stage's use of the kept device: everything it creates is released with it, as when a
// device closes; claiming and making the mix happen once for the kept device.
class KeptAudioSystem::Lease : public AudioDevice {
 public:
  explicit Lease(KeptAudioSystem& owner) : owner(owner), device(*owner.device) {
    owner.leased = true;
  }
  ~Lease() override {
    for (std::uint32_t voice : voices) {
      device.Stop(voice);
      device.ReleaseVoice(voice);
    }
    for (std::uint32_t buffer : buffers) device.ReleaseBuffer(buffer);
    owner.leased = false;
  }

  bool Claim() override {
    if (!owner.claimed) owner.claimed = device.Claim();
    return owner.claimed;
  }
  bool CreateMix() override {
    if (!owner.mixed) owner.mixed = device.CreateMix();
    return owner.mixed;
  }
  bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) override {
    return device.SetOutputFormat(sampleRate, channels, bitsPerSample);
  }
  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                             std::size_t bytes) override {
    return Keep(buffers, device.CreateBuffer(format, data, bytes));
  }
  void ReleaseBuffer(std::uint32_t buffer) override {
    if (Forget(buffers, buffer)) device.ReleaseBuffer(buffer);
  }
  std::uint32_t CreateVoice(std::uint32_t buffer) override {
    return Keep(voices, device.CreateVoice(buffer));
  }
  void ReleaseVoice(std::uint32_t voice) override {
    if (Forget(voices, voice)) device.ReleaseVoice(voice);
  }
  void SetGain(std::uint32_t voice, float gain) override { device.SetGain(voice, gain); }
  void Play(std::uint32_t voice) override { device.Play(voice); }
  void Stop(std::uint32_t voice) override { device.Stop(voice); }
  bool IsPlaying(std::uint32_t voice) override { return device.IsPlaying(voice); }

 private:
  static std::uint32_t Keep(std::vector<std::uint32_t>& ids, std::uint32_t id) {
    if (id != 0) ids.push_back(id);
    return id;
  }
  static bool Forget(std::vector<std::uint32_t>& ids, std::uint32_t id) {
    const auto found = std::find(ids.begin(), ids.end(), id);
    if (found == ids.end()) return false;
    ids.erase(found);
    return true;
  }

  KeptAudioSystem& owner;
  AudioDevice& device;
  std::vector<std::uint32_t> buffers;
  std::vector<std::uint32_t> voices;
};

KeptAudioSystem::KeptAudioSystem(std::unique_ptr<AudioSystem> system) : system(std::move(system)) {}

KeptAudioSystem::~KeptAudioSystem() = default;

std::unique_ptr<AudioDevice> KeptAudioSystem::OpenDevice() {
  if (!system) return nullptr;
  if (leased) return system->OpenDevice();
  if (!device) device = system->OpenDevice();
  if (!device) return nullptr;
  return std::make_unique<Lease>(*this);
}

}  // namespace vorlith
