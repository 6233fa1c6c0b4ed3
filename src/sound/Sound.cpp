#include "sound/Sound.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "base/Utf8.h"
#include "platform/AudioDevice.h"
#include "platform/Dialogs.h"
#include "sound/WaveFile.h"

namespace vorlith {
namespace {

// The device takes PCM only; any other tag gives a format no buffer can hold.
PcmFormat PcmFormatOf(const WaveFormatEx& wfx) {
  PcmFormat format;
  if (wfx.wFormatTag != WAVE_FORMAT_PCM) return format;
  format.channels = wfx.nChannels;
  format.bitsPerSample = wfx.wBitsPerSample;
  format.sampleRate = wfx.nSamplesPerSec > 0x7FFFFFFFu ? 0 : static_cast<int>(wfx.nSamplesPerSec);
  return format;
}

}  // namespace

Sound::Sound(AudioDevice* device, const char* fileName, Dialogs& dialogs)
    : fileName(fileName), device(device), dialogs(dialogs) {}

// The box says what failed; the line on stderr also names the file and, where known, why.
void Sound::ShowError(const char* text, const std::string& reason) const {
  std::fprintf(stderr, "vorlith: %s: %s%s%s\n", EscapeForMessage(fileName ? fileName : "").c_str(),
               text, reason.empty() ? "" : ": ", reason.c_str());
  dialogs.ShowMessage("Error", text);
}

// Why sample data of this format and size cannot become a buffer.
std::string Sound::UnplayableReason(const WaveFormatEx& wfx, std::uint32_t size) {
  if (wfx.wFormatTag != WAVE_FORMAT_PCM) {
    return "format " + std::to_string(wfx.wFormatTag) + " is not PCM; only PCM sounds play";
  }
  if (size > kMaxDataBytes) return std::to_string(size) + " bytes of sample data is too much";
  return "only 8- or 16-bit PCM, mono or stereo, 100 to 200000 Hz, with at least one sample "
         "plays (this is " +
         std::to_string(wfx.wBitsPerSample) + "-bit, " + std::to_string(wfx.nChannels) +
         " channels, " + std::to_string(wfx.nSamplesPerSec) + " Hz, " + std::to_string(size) +
         " bytes)";
}

float Sound::GainOf(int volume) {
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

bool Sound::Load() {
  WaveFile waveFile;
  if (Failed(waveFile.Open(fileName))) {
    ShowError("Waveファイルのオープンに失敗", waveFile.GetFailureReason());
    return false;
  }
  const std::uint32_t size = waveFile.GetSize();
  const PcmFormat format = PcmFormatOf(*waveFile.GetFormat());
  if (!device) {
    ShowError("バッファの作成に失敗", "no sound device");
    return false;
  }
  if (size > kMaxDataBytes || !IsPlayableFormat(format, size)) {
    ShowError("バッファの作成に失敗", UnplayableReason(*waveFile.GetFormat(), size));
    return false;
  }
  // A short or failed read leaves the rest of the data silent.
  std::vector<std::uint8_t> data(size, format.bitsPerSample == 8 ? 0x80 : 0);
  std::uint32_t sizeRead = 0;
  if (Failed(waveFile.Read(data.data(), size, &sizeRead))) {
    std::fprintf(stderr, "vorlith: %s: %s; the rest of the sound is silent\n",
                 EscapeForMessage(fileName).c_str(), waveFile.GetFailureReason().c_str());
  }
  if (buffer != 0) Release();  // loading again replaces what the sound held
  buffer = device->CreateBuffer(format, data.data(), data.size());
  if (buffer == 0) {
    ShowError("バッファの作成に失敗", "the sound device refused the buffer");
    return false;
  }
  voices[0] = device->CreateVoice(buffer);
  if (voices[0] == 0) {
    ShowError("IDirectSoundBuffer8インターフェイスの取得に失敗",
              "the sound device has no voice left for it");
    return false;
  }
  for (int i = 1; i < kBufferCount; ++i) voices[i] = device->CreateVoice(buffer);
  waveFile.Close();
  return true;
}

void Sound::Play(float gain) {
  const std::uint32_t voice = voices[nextBuffer];
  if (voice != 0) {
    device->SetGain(voice, GainOf(kVolume) * gain);
    device->Play(voice);
  }
  nextBuffer = (nextBuffer + 1) % kBufferCount;
}

void Sound::Release() {
  for (std::uint32_t& voice : voices) {
    if (voice == 0) continue;
    device->Stop(voice);
    device->ReleaseVoice(voice);
    voice = 0;
  }
  if (buffer != 0) {
    device->ReleaseBuffer(buffer);
    buffer = 0;
  }
}

}  // namespace vorlith
