#include "platform/sdlaudio/SdlAudioSystem.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "platform/sdlaudio/AudioMixer.h"

namespace vorlith {

struct SdlAudioSystem::OpenDevices {
  std::set<SDL_AudioDeviceID> devices;
  bool paused = false;
};

namespace {

constexpr int kDefaultRate = 44100;
constexpr Uint16 kCallbackFrames = 1024;

void MixInto(void* mixer, Uint8* stream, int bytes) {
  static_cast<AudioMixer*>(mixer)->Mix(reinterpret_cast<float*>(stream),
                                       static_cast<std::size_t>(bytes) / (2 * sizeof(float)));
}

// The default output as stereo float at rate, its mixer called from SDL's audio thread;
// paused until started. 0 when it cannot be opened.
SDL_AudioDeviceID OpenOutput(int rate, AudioMixer* mixer) {
  SDL_AudioSpec wanted{};
  wanted.freq = rate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = kCallbackFrames;
  wanted.callback = MixInto;
  wanted.userdata = mixer;
  SDL_AudioSpec obtained{};
  return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
}

// Mixer calls are kept apart from SDL's audio thread.
class MixerLock {
 public:
  explicit MixerLock(SDL_AudioDeviceID device) : device(device) { SDL_LockAudioDevice(device); }
  ~MixerLock() { SDL_UnlockAudioDevice(device); }
  MixerLock(const MixerLock&) = delete;
  MixerLock& operator=(const MixerLock&) = delete;

 private:
  SDL_AudioDeviceID device;
};

class SdlAudioDevice : public AudioDevice {
 public:
  SdlAudioDevice(std::unique_ptr<AudioMixer> mixer, SDL_AudioDeviceID device,
                 std::shared_ptr<SdlAudioSystem::OpenDevices> open)
      : mixer(std::move(mixer)), device(device), open(std::move(open)) {
    this->open->devices.insert(device);
  }
  ~SdlAudioDevice() override {
    open->devices.erase(device);
    SDL_CloseAudioDevice(device);
  }

  bool Claim() override {
    if (!open->paused) SDL_PauseAudioDevice(device, 0);
    claimed = true;
    return true;
  }
  bool CreateMix() override { return claimed; }
  // Another rate opens the output again, before any buffer exists.
  bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) override {
    (void)channels;  // the mix is stereo float whatever the sounds are
    (void)bitsPerSample;
    if (sampleRate == rate) return true;
    if (mixer->HasBuffers()) return false;
    const SDL_AudioDeviceID reopened = OpenOutput(sampleRate, mixer.get());
    if (reopened == 0) return false;
    open->devices.erase(device);
    SDL_CloseAudioDevice(device);
    device = reopened;
    open->devices.insert(device);
    rate = sampleRate;
    if (claimed && !open->paused) SDL_PauseAudioDevice(device, 0);
    return true;
  }
  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                             std::size_t bytes) override {
    if (!data || !IsPlayableFormat(format, bytes)) return 0;
    bytes -= bytes % static_cast<std::size_t>(format.bitsPerSample / 8 * format.channels);
    SDL_AudioCVT convert;
    const SDL_AudioFormat from = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&convert, from, static_cast<Uint8>(format.channels), format.sampleRate,
                          AUDIO_F32SYS, 2, rate) < 0) {
      return 0;
    }
    std::vector<Uint8> work(bytes * static_cast<std::size_t>(convert.len_mult));
    std::memcpy(work.data(), data, bytes);
    convert.buf = work.data();
    convert.len = static_cast<int>(bytes);
    if (convert.needed && SDL_ConvertAudio(&convert) != 0) return 0;
    const std::size_t length = convert.needed ? static_cast<std::size_t>(convert.len_cvt) : bytes;
    AudioMixer::Samples samples(length / sizeof(float));
    std::memcpy(samples.data(), work.data(), samples.size() * sizeof(float));
    MixerLock lock(device);
    return mixer->AddBuffer(std::move(samples));
  }
  void ReleaseBuffer(std::uint32_t buffer) override {
    MixerLock lock(device);
    mixer->RemoveBuffer(buffer);
  }
  std::uint32_t CreateVoice(std::uint32_t buffer) override {
    MixerLock lock(device);
    return mixer->AddVoice(buffer);
  }
  void ReleaseVoice(std::uint32_t voice) override {
    MixerLock lock(device);
    mixer->RemoveVoice(voice);
  }
  void SetGain(std::uint32_t voice, float gain) override {
    MixerLock lock(device);
    mixer->SetGain(voice, gain);
  }
  void Play(std::uint32_t voice) override {
    MixerLock lock(device);
    mixer->Play(voice);
  }
  void Stop(std::uint32_t voice) override {
    MixerLock lock(device);
    mixer->Stop(voice);
  }
  bool IsPlaying(std::uint32_t voice) override {
    MixerLock lock(device);
    return mixer->IsPlaying(voice);
  }

 private:
  std::unique_ptr<AudioMixer> mixer;
  SDL_AudioDeviceID device;
  std::shared_ptr<SdlAudioSystem::OpenDevices> open;
  int rate = kDefaultRate;
  bool claimed = false;
};

}  // namespace

SdlAudioSystem::SdlAudioSystem(std::unique_ptr<AudioSystem> whenNoOutput)
    : whenNoOutput(std::move(whenNoOutput)), openDevices(std::make_shared<OpenDevices>()) {}

SdlAudioSystem::~SdlAudioSystem() {
  if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioSystem::SetPaused(bool paused) {
  if (paused == openDevices->paused) return;
  openDevices->paused = paused;
  for (SDL_AudioDeviceID device : openDevices->devices) {
    SDL_PauseAudioDevice(device, paused ? 1 : 0);
  }
}

std::unique_ptr<AudioDevice> SdlAudioSystem::OpenDevice() {
  if (!audioStarted) audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  auto mixer = std::make_unique<AudioMixer>();
  const SDL_AudioDeviceID device = audioStarted ? OpenOutput(kDefaultRate, mixer.get()) : 0;
  if (device != 0) return std::make_unique<SdlAudioDevice>(std::move(mixer), device, openDevices);
  if (!toldNoOutput) {
    std::fprintf(stderr,
                 "vorlith: no audio output device could be opened; playing without sound\n");
    toldNoOutput = true;
  }
  return whenNoOutput ? whenNoOutput->OpenDevice() : nullptr;
}

}  // namespace vorlith
