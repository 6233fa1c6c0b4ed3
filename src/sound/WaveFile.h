#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/Diagnostics.h"
#include "sound/RiffReader.h"

namespace vorlith {

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// A WAVE format description: 18 bytes and the extra bytes that cbSize counts.
struct WaveFormatEx {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
  std::vector<std::uint8_t> extra;  // cbSize bytes
};

// Reads a RIFF WAVE sound: opens it by name (or, when there is no such file, the program's
// resource of that name and type "WAVE" or "WAV"), reads the format and hands the sample
// data out in pieces. Failed steps are traced and return a negative result code; the reason
// a player is told is kept beside it.
class WaveFile {
 public:
  WaveFile() = default;
  ~WaveFile();
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  HResult Open(const char* fileName);
  HResult Close();
  // Copies up to sizeToRead bytes of sample data; *sizeRead gets the count copied.
  HResult Read(std::uint8_t* buffer, std::uint32_t sizeToRead, std::uint32_t* sizeRead);

  std::uint32_t GetSize() const { return m_dwSize; }
  const WaveFormatEx* GetFormat() const { return m_pwfx.get(); }  // null until read
  // Why the last Open or Read failed, in words a player can act on ("not a WAVE file: ...").
  const std::string& GetFailureReason() const { return m_reason; }

 private:
  HResult OpenResource(const char* fileName, const std::string& fileProblem);
  HResult ReadMMIO();
  HResult ReadExtraFormat(const std::uint8_t* pcmBytes);
  HResult ResetFile();

  std::unique_ptr<WaveFormatEx> m_pwfx;
  std::unique_ptr<RiffReader> m_hmmio;
  RiffChunk m_ck;      // the "data" chunk; its size counts the bytes not yet read
  RiffChunk m_ckRiff;  // the outer "RIFF" chunk
  std::uint32_t m_dwSize = 0;
  std::unique_ptr<std::uint8_t[]> m_pbResourceCopy;
  std::string m_reason;
};

}  // namespace vorlith
