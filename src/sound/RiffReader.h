#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vorlith {

constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

// One chunk of a RIFF file: its id, size, form type (RIFF and LIST only), the file offset
// of its data and flags.
struct RiffChunk {
  std::uint32_t ckid = 0;
  std::uint32_t cksize = 0;
  std::uint32_t fccType = 0;
  std::uint32_t dwDataOffset = 0;
  std::uint32_t dwFlags = 0;
};

enum class RiffError {
  None = 0,
  CannotRead,
  CannotSeek,
  ChunkNotFound,
  InvalidInfo,
};

// Direct access to the reader's I/O buffer. pchNext may be moved forward up to pchEndRead;
// Advance refills the buffer from the file, SetInfo hands the position back.
struct RiffIoInfo {
  const std::uint8_t* pchBuffer = nullptr;
  const std::uint8_t* pchNext = nullptr;
  const std::uint8_t* pchEndRead = nullptr;
  long lBufOffset = 0;  // file offset of pchBuffer
};

// Buffered reading of RIFF files, from disk or from memory, with descent into chunks by id.
// Offsets are 32-bit signed: nothing lies beyond 0x7FFFFFFF. Seeking past the end is
// allowed; reads there return nothing.
class RiffReader {
 public:
  static constexpr std::uint32_t kFindChunk = 0x10;  // search by ckid within the parent
  static constexpr std::uint32_t kFindRiff = 0x20;   // search for RIFF with the given fccType
  static constexpr std::uint32_t kFindList = 0x40;   // search for LIST with the given fccType
  static constexpr std::size_t kBufferSize = 8192;
  static constexpr long kMaxOffset = 0x7FFFFFFF;

  // Null when the name is not a readable regular file; then problem, if given, says why
  // ("no such file", "not a regular file", the system's reason).
  static std::unique_ptr<RiffReader> OpenFile(const char* name, std::string* problem = nullptr);
  // Reads from memory that stays valid while the reader lives.
  static std::unique_ptr<RiffReader> OpenMemory(const std::uint8_t* data, std::size_t size);

  ~RiffReader();
  RiffReader(const RiffReader&) = delete;
  RiffReader& operator=(const RiffReader&) = delete;

  // Bytes read (fewer at the end of the file), or -1 on a read error.
  long Read(void* buffer, long size);
  // New position, or -1 when it would fall outside 0..kMaxOffset.
  long Seek(long offset, int origin);

  // Reads the chunk header at the current position (flags 0) or searches forward for the
  // chunk asked for in ck (find flags), within the parent when one is given. Afterwards the
  // position is at the chunk's data, past the form type for RIFF and LIST. On failure the
  // position is left where it was.
  RiffError Descend(RiffChunk& ck, const RiffChunk* parent, std::uint32_t flags);
  // Moves past the end of the chunk and its pad byte.
  RiffError Ascend(const RiffChunk& ck);

  RiffError GetInfo(RiffIoInfo& info) const;
  RiffError Advance(RiffIoInfo& info);
  RiffError SetInfo(const RiffIoInfo& info);

 private:
  RiffReader() = default;
  // Makes the buffer window start at (or, for memory, contain) the position.
  bool FillAt(std::int64_t position);
  bool ReadHeader(std::int64_t start, RiffChunk& ck);
  bool Matches(const RiffChunk& found, const RiffChunk& wanted, std::uint32_t flags) const;
  bool TakeInfoPosition(const RiffIoInfo& info);

  std::FILE* file = nullptr;
  std::vector<std::uint8_t> storage;  // the I/O buffer of a disk file
  const std::uint8_t* memory = nullptr;
  std::size_t memorySize = 0;

  // The buffer window: bytes [windowOffset, windowOffset + windowSize) of the file, at window.
  const std::uint8_t* window = nullptr;
  std::size_t windowSize = 0;
  std::int64_t windowOffset = 0;
  std::int64_t position = 0;  // always within the window or at its end
};

}  // namespace vorlith
