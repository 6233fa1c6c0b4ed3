#include "platform/sdlaudio/AudioMixer.h"

#include <algorithm>

namespace vorlith {

std::uint32_t AudioMixer::AddBuffer(Samples samples) {
  const std::uint32_t id = nextId++;
  buffers[id] = std::make_shared<const Samples>(std::move(samples));
  return id;
}

void AudioMixer::RemoveBuffer(std::uint32_t buffer) {
  buffers.erase(buffer);
}

std::uint32_t AudioMixer::AddVoice(std::uint32_t buffer) {
  const auto found = buffers.find(buffer);
  if (found == buffers.end()) return 0;
  const std::uint32_t id = nextId++;
  voices[id].samples = found->second;
  return id;
}

void AudioMixer::RemoveVoice(std::uint32_t voice) {
  voices.erase(voice);
}

void AudioMixer::SetGain(std::uint32_t voice, float gain) {
  const auto found = voices.find(voice);
  if (found != voices.end()) found->second.gain = gain;
}

void AudioMixer::Play(std::uint32_t voice) {
  const auto found = voices.find(voice);
  if (found == voices.end() || found->second.playing) return;
  found->second.position = 0;
  found->second.playing = !found->second.samples->empty();
}

void AudioMixer::Stop(std::uint32_t voice) {
  const auto found = voices.find(voice);
  if (found != voices.end()) found->second.playing = false;
}

bool AudioMixer::IsPlaying(std::uint32_t voice) const {
  const auto found = voices.find(voice);
  return found != voices.end() && found->second.playing;
}

void AudioMixer::Mix(float* out, std::size_t frames) {
  const std::size_t count = frames * 2;
  std::fill(out, out + count, 0.0f);
  for (auto& [id, voice] : voices) {
    if (!voice.playing) continue;
    const Samples& samples = *voice.samples;
    const std::size_t take = std::min(count, samples.size() - voice.position);
    for (std::size_t i = 0; i < take; ++i) out[i] += samples[voice.position + i] * voice.gain;
    voice.position += take;
    voice.playing = voice.position < samples.size();
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

}  // namespace vorlith
