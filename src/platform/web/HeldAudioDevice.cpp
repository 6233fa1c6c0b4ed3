#include "platform/web/HeldAudioDevice.h"

namespace vorlith {

void HeldAudioDevice::Start(AudioSystem& system) {
  if (started) return;
  started = true;
  real = system.OpenDevice();
  if (real && !Handover()) real.reset();
}

// The real device takes the claim, the mix and what is kept; false when it refuses the
// claim or the mix. A refused output format leaves the device at its own rate, as a game
// told so plays on.
bool HeldAudioDevice::Handover() {
  if ((claimed && !real->Claim()) || (mixed && !real->CreateMix())) return false;
  if (output.channels != 0) {
    real->SetOutputFormat(output.sampleRate, output.channels, output.bitsPerSample);
  }
  for (auto& [id, buffer] : buffers) {
    buffer.real = real->CreateBuffer(buffer.format, buffer.data.data(), buffer.data.size());
    buffer.data = {};
  }
  for (auto& [id, voice] : voices) {
    auto buffer = buffers.find(voice.buffer);
    const std::uint32_t name = buffer != buffers.end() ? buffer->second.real : 0;
    voice.real = name != 0 ? real->CreateVoice(name) : 0;
    if (voice.real != 0) real->SetGain(voice.real, voice.gain);
  }
  return true;
}

bool HeldAudioDevice::Claim() {
  claimed = true;
  return real ? real->Claim() : true;
}

bool HeldAudioDevice::CreateMix() {
  mixed = true;
  return real ? real->CreateMix() : true;
}

bool HeldAudioDevice::SetOutputFormat(int sampleRate, int channels, int bitsPerSample) {
  output = PcmFormat{channels, bitsPerSample, sampleRate};
  return real ? real->SetOutputFormat(sampleRate, channels, bitsPerSample) : true;
}

std::uint32_t HeldAudioDevice::CreateBuffer(const PcmFormat& format, const void* data,
                                            std::size_t bytes) {
  if (!data || !IsPlayableFormat(format, bytes)) return 0;
  Buffer buffer{format, {}, 0};
  if (real) {
    buffer.real = real->CreateBuffer(format, data, bytes);
    if (buffer.real == 0) return 0;
  } else if (!started) {
    const auto* samples = static_cast<const std::uint8_t*>(data);
    buffer.data.assign(samples, samples + bytes);
  }
  buffers.emplace(++lastId, std::move(buffer));
  return lastId;
}

void HeldAudioDevice::ReleaseBuffer(std::uint32_t buffer) {
  auto found = buffers.find(buffer);
  if (found == buffers.end()) return;
  if (real && found->second.real != 0) real->ReleaseBuffer(found->second.real);
  buffers.erase(found);
}

std::uint32_t HeldAudioDevice::CreateVoice(std::uint32_t buffer) {
  auto found = buffers.find(buffer);
  if (found == buffers.end()) return 0;
  Voice voice{buffer, 1.0f, 0};
  if (real && found->second.real != 0) {
    voice.real = real->CreateVoice(found->second.real);
    if (voice.real == 0) return 0;
  }
  voices.emplace(++lastId, voice);
  return lastId;
}

void HeldAudioDevice::ReleaseVoice(std::uint32_t voice) {
  auto found = voices.find(voice);
  if (found == voices.end()) return;
  if (real && found->second.real != 0) real->ReleaseVoice(found->second.real);
  voices.erase(found);
}

std::uint32_t HeldAudioDevice::RealVoice(std::uint32_t voice) const {
  auto found = voices.find(voice);
  return real && found != voices.end() ? found->second.real : 0;
}

void HeldAudioDevice::SetGain(std::uint32_t voice, float gain) {
  auto found = voices.find(voice);
  if (found != voices.end()) found->second.gain = gain;
  if (const std::uint32_t name = RealVoice(voice)) real->SetGain(name, gain);
}

void HeldAudioDevice::Play(std::uint32_t voice) {
  if (const std::uint32_t name = RealVoice(voice)) real->Play(name);
}

void HeldAudioDevice::Stop(std::uint32_t voice) {
  if (const std::uint32_t name = RealVoice(voice)) real->Stop(name);
}

bool HeldAudioDevice::IsPlaying(std::uint32_t voice) {
  const std::uint32_t name = RealVoice(voice);
  return name != 0 && real->IsPlaying(name);
}

}  // namespace vorlith
