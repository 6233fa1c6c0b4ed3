#include "sound/RiffReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/Utf8.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kRiff = MakeFourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kList = MakeFourCC('L', 'I', 'S', 'T');

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int64_t ChunkEnd(const RiffChunk& ck) {
  return static_cast<std::int64_t>(ck.dwDataOffset) + ck.cksize + (ck.cksize & 1);
}

}  // namespace

std::unique_ptr<RiffReader> RiffReader::OpenFile(const char* name, std::string* problem) {
  std::string ignored;
  std::string& why = problem ? *problem : ignored;
  std::error_code error;
  const std::filesystem::file_status status =
      name ? std::filesystem::status(PathFromUtf8(name), error) : std::filesystem::file_status();
  if (!name || status.type() == std::filesystem::file_type::not_found) {
    why = "no such file";
    return nullptr;
  }
  if (error || !std::filesystem::is_regular_file(status)) {
    why = error ? error.message() : "not a regular file";
    return nullptr;
  }
  std::FILE* file = std::fopen(name, "rb");
  if (!file) {
    why = std::strerror(errno);
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);  // the reader buffers on its own
  std::unique_ptr<RiffReader> reader(new RiffReader());
  reader->file = file;
  reader->storage.resize(kBufferSize);
  reader->window = reader->storage.data();
  return reader;
}

std::unique_ptr<RiffReader> RiffReader::OpenMemory(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<RiffReader> reader(new RiffReader());
  reader->memory = data;
  reader->memorySize = data ? size : 0;
  reader->FillAt(0);
  return reader;
}

RiffReader::~RiffReader() {
  if (file) std::fclose(file);
}

bool RiffReader::FillAt(std::int64_t at) {
  if (!file) {
    bool inside = at <= static_cast<std::int64_t>(memorySize);
    window = inside ? memory : memory + memorySize;
    windowSize = inside ? memorySize : 0;
    windowOffset = inside ? 0 : at;
    return true;
  }
  window = storage.data();
  windowSize = 0;
  windowOffset = at;
  if (std::fseek(file, static_cast<long>(at), SEEK_SET) != 0) return false;
  windowSize = std::fread(storage.data(), 1, storage.size(), file);
  if (std::ferror(file)) {
    std::clearerr(file);
    windowSize = 0;
    return false;
  }
  return true;
}

long RiffReader::Read(void* buffer, long size) {
  if (size < 0 || (!buffer && size > 0)) return -1;
  auto* out = static_cast<std::uint8_t*>(buffer);
  long total = 0;
  while (total < size) {
    std::int64_t available = windowOffset + static_cast<std::int64_t>(windowSize) - position;
    if (available <= 0) {
      if (!FillAt(position)) return -1;
      available = windowOffset + static_cast<std::int64_t>(windowSize) - position;
      if (available <= 0) break;  // end of the file
    }
    long n = static_cast<long>(std::min<std::int64_t>(available, size - total));
    std::memcpy(out + total, window + (position - windowOffset), static_cast<std::size_t>(n));
    position += n;
    total += n;
  }
  return total;
}

long RiffReader::Seek(long offset, int origin) {
  std::int64_t base = 0;
  if (origin == SEEK_CUR) {
    base = position;
  } else if (origin == SEEK_END) {
    if (file) {
      if (std::fseek(file, 0, SEEK_END) != 0) return -1;
      base = std::ftell(file);
      if (base < 0) return -1;
    } else {
      base = static_cast<std::int64_t>(memorySize);
    }
  } else if (origin != SEEK_SET) {
    return -1;
  }
  std::int64_t target = base + offset;
  if (target < 0 || target > kMaxOffset) return -1;
  bool inWindow =
      target >= windowOffset && target <= windowOffset + static_cast<std::int64_t>(windowSize);
  if (!inWindow) {
    if (file) {
      windowSize = 0;
      windowOffset = target;
    } else {
      FillAt(target);
    }
  }
  position = target;
  return static_cast<long>(target);
}

bool RiffReader::ReadHeader(std::int64_t start, RiffChunk& ck) {
  if (Seek(static_cast<long>(start), SEEK_SET) < 0) return false;
  std::uint8_t header[8];
  if (Read(header, 8) != 8) return false;
  ck.ckid = ReadLe32(header);
  ck.cksize = ReadLe32(header + 4);
  ck.dwDataOffset = static_cast<std::uint32_t>(start + 8);
  ck.fccType = 0;
  ck.dwFlags = 0;
  if (ck.ckid == kRiff || ck.ckid == kList) {
    std::uint8_t form[4];
    if (Read(form, 4) != 4) return false;
    ck.fccType = ReadLe32(form);
  }
  return true;
}

bool RiffReader::Matches(const RiffChunk& found, const RiffChunk& wanted,
                         std::uint32_t flags) const {
  if (flags & kFindChunk) return found.ckid == wanted.ckid;
  if (flags & kFindRiff) return found.ckid == kRiff && found.fccType == wanted.fccType;
  if (flags & kFindList) return found.ckid == kList && found.fccType == wanted.fccType;
  return true;
}

RiffError RiffReader::Descend(RiffChunk& ck, const RiffChunk* parent, std::uint32_t flags) {
  const std::int64_t origin = position;
  const std::int64_t parentEnd =
      parent ? static_cast<std::int64_t>(parent->dwDataOffset) + parent->cksize : INT64_MAX;
  std::int64_t start = position;
  while (start + 8 <= parentEnd && start <= kMaxOffset) {
    RiffChunk found;
    if (!ReadHeader(start, found)) break;
    if (Matches(found, ck, flags)) {
      ck = found;
      return RiffError::None;
    }
    start = ChunkEnd(found);
  }
  Seek(static_cast<long>(origin), SEEK_SET);
  return RiffError::ChunkNotFound;
}

RiffError RiffReader::Ascend(const RiffChunk& ck) {
  std::int64_t end = ChunkEnd(ck);
  if (end > kMaxOffset || Seek(static_cast<long>(end), SEEK_SET) < 0) {
    return RiffError::CannotSeek;
  }
  return RiffError::None;
}

RiffError RiffReader::GetInfo(RiffIoInfo& info) const {
  info.pchBuffer = window;
  info.pchNext = window + (position - windowOffset);
  info.pchEndRead = window + windowSize;
  info.lBufOffset = static_cast<long>(windowOffset);
  return RiffError::None;
}

bool RiffReader::TakeInfoPosition(const RiffIoInfo& info) {
  if (info.pchBuffer != window) return false;
  auto next = reinterpret_cast<std::uintptr_t>(info.pchNext);
  auto begin = reinterpret_cast<std::uintptr_t>(window);
  if (next < begin || next - begin > windowSize) return false;
  position = windowOffset + static_cast<std::int64_t>(next - begin);
  return true;
}

RiffError RiffReader::Advance(RiffIoInfo& info) {
  if (!TakeInfoPosition(info)) return RiffError::InvalidInfo;
  if (file && !FillAt(position)) {
    GetInfo(info);
    return RiffError::CannotRead;
  }
  return GetInfo(info);
}

RiffError RiffReader::SetInfo(const RiffIoInfo& info) {
  return TakeInfoPosition(info) ? RiffError::None : RiffError::InvalidInfo;
}

}  // namespace vorlith
