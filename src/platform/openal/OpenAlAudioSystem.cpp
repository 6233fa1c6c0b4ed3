#include "platform/openal/OpenAlAudioSystem.h"

#include <AL/al.h>
#include <AL/alc.h>
#ifdef __EMSCRIPTEN__
// The browser's OpenAL knows AL_SOFT_direct_channels but ships no alext.h, and its headers
// have no calling-convention macro.
#define AL_DIRECT_CHANNELS_SOFT 0x1033
#define ALC_APIENTRY
#else
#include <AL/alext.h>
#endif

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "platform/openal/AudioLibraryNoise.h"

namespace vorlith {

struct OpenAlAudioSystem::OpenDevices {
  std::set<ALCdevice*> devices;
  bool paused = false;
};

namespace {

#ifdef __EMSCRIPTEN__
// The browser's alcGetProcAddress links in every function it can name; the three extension
// functions used here are named directly.
extern "C" void emscripten_alcDevicePauseSOFT(ALCdevice* device);
extern "C" void emscripten_alcDeviceResumeSOFT(ALCdevice* device);
extern "C" ALCboolean emscripten_alcResetDeviceSOFT(ALCdevice* device, const ALCint* attributes);

void* ExtensionFunction(ALCdevice*, const char* name) {
  if (std::strcmp(name, "alcDevicePauseSOFT") == 0) {
    return reinterpret_cast<void*>(&emscripten_alcDevicePauseSOFT);
  }
  if (std::strcmp(name, "alcDeviceResumeSOFT") == 0) {
    return reinterpret_cast<void*>(&emscripten_alcDeviceResumeSOFT);
  }
  if (std::strcmp(name, "alcResetDeviceSOFT") == 0) {
    return reinterpret_cast<void*>(&emscripten_alcResetDeviceSOFT);
  }
  return nullptr;
}
#else
void* ExtensionFunction(ALCdevice* device, const char* name) {
  return alcGetProcAddress(device, name);
}
#endif

void PauseDevice(ALCdevice* device, bool paused) {
  if (!alcIsExtensionPresent(device, "ALC_SOFT_pause_device")) return;
  const char* name = paused ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
  auto call = reinterpret_cast<void(ALC_APIENTRY*)(ALCdevice*)>(ExtensionFunction(device, name));
  if (call) call(device);
}

ALenum AlFormatOf(int channels, int bitsPerSample) {
  if (channels == 1) return bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  return bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

// A mono sound sounds from both speakers at its full level; stereo plays as it is.
std::vector<std::uint8_t> ToStereo(const std::uint8_t* data, std::size_t bytes, int sampleBytes) {
  std::vector<std::uint8_t> stereo(bytes * 2);
  for (std::size_t i = 0; i + sampleBytes <= bytes; i += sampleBytes) {
    std::memcpy(&stereo[i * 2], data + i, sampleBytes);
    std::memcpy(&stereo[i * 2 + sampleBytes], data + i, sampleBytes);
  }
  return stereo;
}

class OpenAlAudioDevice : public AudioDevice {
 public:
  OpenAlAudioDevice(ALCdevice* device, std::shared_ptr<OpenAlAudioSystem::OpenDevices> open)
      : device(device), open(std::move(open)) {
    this->open->devices.insert(device);
  }

  ~OpenAlAudioDevice() override {
    open->devices.erase(device);
    if (context) {
      MakeCurrent();
      for (ALuint source : sources) alDeleteSources(1, &source);
      for (ALuint buffer : buffers) alDeleteBuffers(1, &buffer);
      alcMakeContextCurrent(nullptr);
      alcDestroyContext(context);
    }
    alcCloseDevice(device);
  }

  bool Claim() override {
    const ALCint attributes[] = {ALC_FREQUENCY, 44100, 0};
    context = alcCreateContext(device, attributes);
    return context && alcMakeContextCurrent(context);
  }

  bool CreateMix() override {
    if (!MakeCurrent()) return false;
    alGetError();
    alDistanceModel(AL_NONE);  // voices sound at their own level wherever they are
    alListenerf(AL_GAIN, 1.0f);
    directChannels = alIsExtensionPresent("AL_SOFT_direct_channels");
    return alGetError() == AL_NO_ERROR;
  }

  bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) override {
    (void)channels;       // OpenAL Soft takes its speaker layout from its configuration,
    (void)bitsPerSample;  // and mixes in floating point whatever the output sample type
    if (OutputRate() == sampleRate) return true;
    if (!alcIsExtensionPresent(device, "ALC_SOFT_HRTF")) return false;
    auto reset = reinterpret_cast<ALCboolean(ALC_APIENTRY*)(ALCdevice*, const ALCint*)>(
        ExtensionFunction(device, "alcResetDeviceSOFT"));
    const ALCint attributes[] = {ALC_FREQUENCY, sampleRate, 0};
    return reset && reset(device, attributes) && OutputRate() == sampleRate;
  }

  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                             std::size_t bytes) override {
    if (!data || !IsPlayableFormat(format, bytes) || !MakeCurrent()) return 0;
    const int sampleBytes = format.bitsPerSample / 8;
    bytes -= bytes % static_cast<std::size_t>(sampleBytes * format.channels);
    const auto* samples = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> stereo;
    int channels = format.channels;
    if (channels == 1 && directChannels) {
      stereo = ToStereo(samples, bytes, sampleBytes);
      samples = stereo.data();
      bytes = stereo.size();
      channels = 2;
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR || buffer == 0) return 0;
    alBufferData(buffer, AlFormatOf(channels, format.bitsPerSample), samples,
                 static_cast<ALsizei>(bytes), format.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &buffer);
      return 0;
    }
    buffers.insert(buffer);
    return buffer;
  }

  void ReleaseBuffer(std::uint32_t buffer) override {
    if (buffers.erase(buffer) == 0 || !MakeCurrent()) return;
    ALuint name = buffer;
    alDeleteBuffers(1, &name);
  }

  std::uint32_t CreateVoice(std::uint32_t buffer) override {
    if (buffers.count(buffer) == 0 || !MakeCurrent()) return 0;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR || source == 0) return 0;
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    if (directChannels) alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteSources(1, &source);
      return 0;
    }
    sources.insert(source);
    return source;
  }

  void ReleaseVoice(std::uint32_t voice) override {
    if (sources.erase(voice) == 0 || !MakeCurrent()) return;
    ALuint name = voice;
    alSourceStop(name);
    alDeleteSources(1, &name);
  }

  void SetGain(std::uint32_t voice, float gain) override {
    if (IsVoice(voice)) alSourcef(voice, AL_GAIN, gain);
  }

  void Play(std::uint32_t voice) override {
    if (IsVoice(voice) && !IsPlaying(voice)) alSourcePlay(voice);
  }

  void Stop(std::uint32_t voice) override {
    if (IsVoice(voice)) alSourceStop(voice);
  }

  bool IsPlaying(std::uint32_t voice) override {
    if (!IsVoice(voice)) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(voice, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
  }

 private:
  bool MakeCurrent() {
    if (!context) return false;
    return alcGetCurrentContext() == context || alcMakeContextCurrent(context);
  }

  bool IsVoice(std::uint32_t voice) { return sources.count(voice) > 0 && MakeCurrent(); }

  int OutputRate() {
    ALCint rate = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
    return rate;
  }

  ALCdevice* device;
  std::shared_ptr<OpenAlAudioSystem::OpenDevices> open;
  ALCcontext* context = nullptr;
  bool directChannels = false;
  std::set<ALuint> buffers;
  std::set<ALuint> sources;
};

}  // namespace

OpenAlAudioSystem::OpenAlAudioSystem(std::unique_ptr<AudioSystem> whenNoOutput)
    : whenNoOutput(std::move(whenNoOutput)), openDevices(std::make_shared<OpenDevices>()) {}

OpenAlAudioSystem::~OpenAlAudioSystem() = default;

void OpenAlAudioSystem::SetPaused(bool paused) {
  if (paused == openDevices->paused) return;
  openDevices->paused = paused;
  for (ALCdevice* device : openDevices->devices) PauseDevice(device, paused);
}

std::unique_ptr<AudioDevice> OpenAlAudioSystem::OpenDevice() {
  KeepAudioLibrariesQuiet();
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device) return std::make_unique<OpenAlAudioDevice>(device, openDevices);
  if (!toldNoOutput) {
    std::fprintf(stderr,
                 "vorlith: no audio output device could be opened; playing without sound\n");
    toldNoOutput = true;
  }
  return whenNoOutput ? whenNoOutput->OpenDevice() : nullptr;
}

}  // namespace vorlith
