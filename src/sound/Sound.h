#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorlith {

class AudioDevice;
class Dialogs;
struct WaveFormatEx;

// One sound effect: the loaded sample data and nine duplicates sharing it, played in turn.
class Sound {
 public:
  static constexpr int kBufferCount = 10;
  static constexpr int kVolume = -1500;  // hundredths of a decibel
  // The largest sample data a sound may hold, as the device's largest buffer.
  static constexpr std::size_t kMaxDataBytes = 0x0FFFFFFF;

  Sound(AudioDevice* device, const char* fileName, Dialogs& dialogs);  // all borrowed
  ~Sound() = default;                                                  // Release frees the voices
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  bool Load();
  void Play(float gain = 1.0f);  // `gain` on top of the effect's own volume
  void Release();
  int GetNextBuffer() const { return nextBuffer; }
  std::uint32_t GetVoice(int index) const { return voices[index]; }

  // Linear gain of a volume in hundredths of a decibel.
  static float GainOf(int volume);

 private:
  void ShowError(const char* text, const std::string& reason) const;
  static std::string UnplayableReason(const WaveFormatEx& wfx, std::uint32_t size);

  std::uint32_t buffer = 0;                 // the sample data on the device
  std::uint32_t voices[kBufferCount] = {};  // voice 0 and its nine duplicates
  const char* fileName;
  int nextBuffer = 0;
  AudioDevice* device;
  Dialogs& dialogs;
};

}  // namespace vorlith
