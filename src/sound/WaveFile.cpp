#include "sound/WaveFile.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "base/DataDirectory.h"
#include "sound/ModuleResources.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kRiff = MakeFourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr std::uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr std::uint32_t kData = MakeFourCC('d', 'a', 't', 'a');
constexpr long kPcmFormatSize = 16;  // the format fields every WAVE file has
constexpr const char* kEndsInFormat = "the file ends inside its format chunk";
constexpr const char* kNoMemory = "out of memory";

std::uint16_t Le16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(Le16(bytes)) | static_cast<std::uint32_t>(Le16(bytes + 2))
                                                       << 16;
}

void CopyPcmFields(const std::uint8_t* bytes, WaveFormatEx& format) {
  format.wFormatTag = Le16(bytes);
  format.nChannels = Le16(bytes + 2);
  format.nSamplesPerSec = Le32(bytes + 4);
  format.nAvgBytesPerSec = Le32(bytes + 8);
  format.nBlockAlign = Le16(bytes + 12);
  format.wBitsPerSample = Le16(bytes + 14);
}

}  // namespace

// A failed step: its trace line, and the reason a player is told.
#define VORLITH_FAIL(step, reason) (m_reason = (reason), VORLITH_TRACE((step), E_FAIL))

WaveFile::~WaveFile() {
  Close();
  m_pwfx.reset();
}

HResult WaveFile::Open(const char* fileName) {
  if (!fileName) return E_INVALIDARG;
  Close();  // a reader opened twice lets go of the first file
  m_pwfx.reset();
  m_ck = RiffChunk();
  m_dwSize = 0;
  m_reason.clear();
  std::string fileProblem;
  m_hmmio = RiffReader::OpenFile(DataDirectory::Resolve(fileName).c_str(), &fileProblem);
  if (!m_hmmio) {
    HResult hr = OpenResource(fileName, fileProblem);
    if (Failed(hr)) return hr;
  }
  HResult hr = ReadMMIO();
  if (Failed(hr)) {
    Close();
    return VORLITH_TRACE("ReadMMIO", hr);
  }
  hr = ResetFile();
  if (Failed(hr)) return VORLITH_TRACE("ResetFile", hr);
  m_dwSize = m_ck.cksize;
  return S_OK;
}

HResult WaveFile::OpenResource(const char* fileName, const std::string& fileProblem) {
  const EmbeddedResource* resource = FindModuleResource(fileName, "WAVE");
  if (!resource) resource = FindModuleResource(fileName, "WAV");
  if (!resource) return VORLITH_FAIL("FindResource", fileProblem);
  if (resource->size == 0) {
    return VORLITH_FAIL("SizeofResource", "the sound built into the program is empty");
  }
  const std::uint8_t* bytes = resource->data;  // the linked-in bytes stay read-only
  if (!bytes) return VORLITH_FAIL("LockResource", "the sound built into the program is missing");
  m_pbResourceCopy.reset(new (std::nothrow) std::uint8_t[resource->size]);
  if (!m_pbResourceCopy) return VORLITH_FAIL("new", kNoMemory);
  std::memcpy(m_pbResourceCopy.get(), bytes, resource->size);
  m_hmmio = RiffReader::OpenMemory(m_pbResourceCopy.get(), resource->size);
  return S_OK;
}

HResult WaveFile::ReadMMIO() {
  m_pwfx.reset();
  if (m_hmmio->Descend(m_ckRiff, nullptr, 0) != RiffError::None) {
    return VORLITH_FAIL("mmioDescend", "not a WAVE file: too short for its RIFF header");
  }
  if (m_ckRiff.ckid != kRiff || m_ckRiff.fccType != kWave) {
    return VORLITH_FAIL("mmioFOURCC", "not a WAVE file: it does not start with RIFF and WAVE");
  }
  RiffChunk ckIn;
  ckIn.ckid = kFmt;
  if (m_hmmio->Descend(ckIn, &m_ckRiff, RiffReader::kFindChunk) != RiffError::None) {
    return VORLITH_FAIL("mmioDescend", "the file has no format chunk (\"fmt \")");
  }
  if (ckIn.cksize < kPcmFormatSize) {
    return VORLITH_FAIL("sizeof(PCMWAVEFORMAT)", "its format chunk is shorter than 16 bytes");
  }
  std::uint8_t pcmBytes[kPcmFormatSize];
  if (m_hmmio->Read(pcmBytes, kPcmFormatSize) != kPcmFormatSize) {
    return VORLITH_FAIL("mmioRead", kEndsInFormat);
  }
  HResult hr = S_OK;
  if (Le16(pcmBytes) == WAVE_FORMAT_PCM) {
    m_pwfx.reset(new (std::nothrow) WaveFormatEx());
    if (!m_pwfx) return VORLITH_FAIL("m_pwfx", kNoMemory);
    CopyPcmFields(pcmBytes, *m_pwfx);
    m_pwfx->cbSize = 0;
  } else {
    hr = ReadExtraFormat(pcmBytes);
    if (Failed(hr)) return hr;
  }
  if (m_hmmio->Ascend(ckIn) != RiffError::None) {
    m_pwfx.reset();
    return VORLITH_FAIL("mmioAscend", "its format chunk runs past the end of the file");
  }
  return S_OK;
}

HResult WaveFile::ReadExtraFormat(const std::uint8_t* pcmBytes) {
  std::uint8_t countBytes[2] = {0, 0};
  if (m_hmmio->Read(countBytes, 2) != 2) return VORLITH_FAIL("mmioRead", kEndsInFormat);
  std::uint16_t cbExtraBytes = Le16(countBytes);
  m_pwfx.reset(new (std::nothrow) WaveFormatEx());
  if (!m_pwfx) return VORLITH_FAIL("new", kNoMemory);
  CopyPcmFields(pcmBytes, *m_pwfx);
  m_pwfx->cbSize = cbExtraBytes;
  m_pwfx->extra.resize(cbExtraBytes);
  if (m_hmmio->Read(m_pwfx->extra.data(), cbExtraBytes) != cbExtraBytes) {
    m_pwfx.reset();
    return VORLITH_FAIL("mmioRead", kEndsInFormat);
  }
  return S_OK;
}

HResult WaveFile::ResetFile() {
  if (!m_hmmio) return CO_E_NOTINITIALIZED;
  if (m_hmmio->Seek(static_cast<long>(m_ckRiff.dwDataOffset) + 4, SEEK_SET) == -1) {
    return VORLITH_FAIL("mmioSeek", "its RIFF header lies past the end of what can be read");
  }
  m_ck.ckid = kData;
  if (m_hmmio->Descend(m_ck, &m_ckRiff, RiffReader::kFindChunk) != RiffError::None) {
    return VORLITH_FAIL("mmioDescend", "the file has no sample data chunk (\"data\")");
  }
  return S_OK;
}

HResult WaveFile::Read(std::uint8_t* buffer, std::uint32_t sizeToRead, std::uint32_t* sizeRead) {
  if (!m_hmmio) return CO_E_NOTINITIALIZED;
  if (!buffer || !sizeRead) return E_INVALIDARG;
  *sizeRead = 0;
  RiffIoInfo mmioinfoIn;
  if (m_hmmio->GetInfo(mmioinfoIn) != RiffError::None) {
    return VORLITH_FAIL("mmioGetInfo", "the file could not be read");
  }
  std::uint32_t cbDataIn = sizeToRead < m_ck.cksize ? sizeToRead : m_ck.cksize;
  m_ck.cksize -= cbDataIn;
  for (std::uint32_t cT = 0; cT < cbDataIn; ++cT) {
    if (mmioinfoIn.pchNext == mmioinfoIn.pchEndRead) {
      if (m_hmmio->Advance(mmioinfoIn) != RiffError::None) {
        return VORLITH_FAIL("mmioAdvance", "the file could not be read");
      }
      if (mmioinfoIn.pchNext == mmioinfoIn.pchEndRead) {
        return VORLITH_FAIL("mmioinfoIn.pchNext",
                            "the file ends before the sample data its data chunk declares");
      }
    }
    buffer[cT] = *mmioinfoIn.pchNext;
    ++mmioinfoIn.pchNext;
  }
  if (m_hmmio->SetInfo(mmioinfoIn) != RiffError::None) {
    return VORLITH_FAIL("mmioSetInfo", "the file could not be read");
  }
  *sizeRead = cbDataIn;
  return S_OK;
}

#undef VORLITH_FAIL

HResult WaveFile::Close() {
  m_hmmio.reset();
  m_pbResourceCopy.reset();
  return S_OK;
}

}  // namespace vorlith
