#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace vorlith {

// The voices of one output, mixed in software: buffers hold interleaved stereo float samples
// at the output's rate; each voice plays one buffer once at its gain, and the sum is clipped
// to [-1, 1]. Not locked: the owner keeps Mix and the changes apart.
class AudioMixer {
 public:
  using Samples = std::vector<float>;

  std::uint32_t AddBuffer(Samples samples);
  void RemoveBuffer(std::uint32_t buffer);  // voices playing it finish it
  bool HasBuffer(std::uint32_t buffer) const { return buffers.count(buffer) > 0; }
  bool HasBuffers() const { return !buffers.empty(); }
  std::uint32_t AddVoice(std::uint32_t buffer);  // 0 for an unknown buffer
  void RemoveVoice(std::uint32_t voice);
  bool HasVoice(std::uint32_t voice) const { return voices.count(voice) > 0; }
  void SetGain(std::uint32_t voice, float gain);
  // From the start when it has finished; a voice still sounding carries on.
  void Play(std::uint32_t voice);
  void Stop(std::uint32_t voice);
  bool IsPlaying(std::uint32_t voice) const;
  // Fills frames stereo frames of out.
  void Mix(float* out, std::size_t frames);

 private:
  struct Voice {
    std::shared_ptr<const Samples> samples;
    float gain = 1.0f;
    std::size_t position = 0;  // the next sample
    bool playing = false;
  };

  std::map<std::uint32_t, std::shared_ptr<const Samples>> buffers;
  std::map<std::uint32_t, Voice> voices;
  std::uint32_t nextId = 1;
};

}  // namespace vorlith
