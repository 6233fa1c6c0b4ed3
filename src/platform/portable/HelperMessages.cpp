#include "platform/portable/HelperMessages.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vorlith {
namespace {

using Length = std::uint64_t;
constexpr std::size_t kChunkBytes = 65536;

}  // namespace

bool SendFramed(const WriteBytes& write, const std::string& bytes) {
  const Length length = bytes.size();
  return write(reinterpret_cast<const char*>(&length), sizeof length) &&
         write(bytes.data(), bytes.size());
}

bool ReceiveFramed(const ReadBytes& read, std::string& bytes, std::size_t maxBytes) {
  Length length = 0;
  if (!read(reinterpret_cast<char*>(&length), sizeof length) || length > maxBytes) return false;
  bytes.clear();
  std::vector<char> chunk(kChunkBytes);
  while (bytes.size() < length) {
    const std::size_t want = std::min<std::size_t>(chunk.size(), length - bytes.size());
    if (!read(chunk.data(), want)) return false;
    bytes.append(chunk.data(), want);
  }
  return true;
}

}  // namespace vorlith
