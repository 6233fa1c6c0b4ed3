#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vorlith {

struct PcmFormat {
  int channels = 0;       // 1 or 2
  int bitsPerSample = 0;  // 8 or 16
  int sampleRate = 0;
};

// Sample data a voice can play: PCM of 8 or 16 bits, mono or stereo, a rate the mixer
// takes, and at least one whole frame.
inline bool IsPlayableFormat(const PcmFormat& format, std::size_t bytes) {
  constexpr int kMinRate = 100;
  constexpr int kMaxRate = 200000;
  if (format.channels != 1 && format.channels != 2) return false;
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
  if (format.sampleRate < kMinRate || format.sampleRate > kMaxRate) return false;
  return bytes >= static_cast<std::size_t>(format.channels * format.bitsPerSample / 8);
}

// One open audio output. Buffers hold sample data; voices play a buffer once each.
// Ids are non-zero; 0 means failure.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Claims the device for the game's playback; false when it cannot be had.
  virtual bool Claim() = 0;
  // Creates the output mix every voice sounds through; false when it cannot be made.
  virtual bool CreateMix() = 0;
  // Output mix format; false when the device refuses it (the caller reports and plays on).
  virtual bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) = 0;
  // A partial last frame is dropped. 0 for data that is not playable.
  virtual std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                                     std::size_t bytes) = 0;
  virtual void ReleaseBuffer(std::uint32_t buffer) = 0;
  virtual std::uint32_t CreateVoice(std::uint32_t buffer) = 0;
  virtual void ReleaseVoice(std::uint32_t voice) = 0;
  virtual void SetGain(std::uint32_t voice, float gain) = 0;  // linear
  // Starts the voice from the beginning when it has finished; a voice still sounding
  // carries on undisturbed.
  virtual void Play(std::uint32_t voice) = 0;
  virtual void Stop(std::uint32_t voice) = 0;
  virtual bool IsPlaying(std::uint32_t voice) = 0;
};

// Opens audio devices: the real one on OpenAL Soft, or a silent one.
class AudioSystem {
 public:
  virtual ~AudioSystem() = default;
  // Null when no device can be opened.
  virtual std::unique_ptr<AudioDevice> OpenDevice() = 0;
  // While paused the devices opened here output and mix nothing (no CPU is spent on them);
  // when it ends, the voices go on from where they stopped.
  virtual void SetPaused(bool paused) { (void)paused; }

  // A linear gain the game puts on every effect it starts from now on (the player's
  // volume): 1 leaves them as they are, 0 silences them.
  void SetEffectGain(float gain) { effectGain = gain; }
  float GetEffectGain() const { return effectGain; }

  // The sound slots the game played, in order, since the last ClearPlayedSlots; kept only
  // while recording is on (traces read and clear them once a frame).
  void RecordPlayedSlots(bool on) { recordingPlays = on; }
  void NotePlayed(int slot) {
    if (recordingPlays) playedSlots.push_back(slot);
  }
  const std::vector<int>& GetPlayedSlots() const { return playedSlots; }
  void ClearPlayedSlots() { playedSlots.clear(); }

 private:
  float effectGain = 1.0f;
  bool recordingPlays = false;
  std::vector<int> playedSlots;
};

}  // namespace vorlith
