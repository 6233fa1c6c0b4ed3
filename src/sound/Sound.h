#pragma once

#include <cstdint>

namespace vorlith {

class AudioDevice;

// One sound effect: the loaded sample data and nine duplicates sharing it, played in turn.
class Sound {
 public:
  static constexpr int kBufferCount = 10;

  Sound(AudioDevice* device, const char* fileName);  // both borrowed
  ~Sound() = default;  // Release frees the voices
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  bool Load();
  void Play();
  void Release();
  int GetNextBuffer() const { return nextBuffer; }

 private:
  std::uint32_t buffer = 0;                 // the sample data on the device
  std::uint32_t voices[kBufferCount] = {};  // voice 0 and its nine duplicates
  const char* fileName;
  int nextBuffer = 0;
  AudioDevice* device;
};

}  // namespace vorlith
