#pragma once

// Builds RIFF WAVE files byte by byte for the reader's tests.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vorlith::test {

using Bytes = std::vector<std::uint8_t>;

// Little-endian: the low `size` bytes of the value.
inline Bytes Le(std::uint32_t value, int size) {
  Bytes out;
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A chunk header claiming a size that the bytes after it need not have.
inline Bytes ChunkHeader(const char* id, std::uint32_t size) {
  return Concat({Bytes(id, id + 4), Le(size, 4)});
}

// A chunk with the given id and body, and its pad byte when the body is odd.
inline Bytes Chunk(const char* id, const Bytes& body) {
  return Concat(
      {ChunkHeader(id, static_cast<std::uint32_t>(body.size())), body, Bytes(body.size() % 2, 0)});
}

// The 16 format bytes every WAVE file has.
inline Bytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                        std::uint16_t bits) {
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
  return Concat({Le(tag, 2), Le(channels, 2), Le(rate, 4), Le(rate * blockAlign, 4),
                 Le(blockAlign, 2), Le(bits, 2)});
}

inline Bytes PcmFormat16Mono() {
  return Chunk("fmt ", FormatBody(1, 1, 44100, 16));
}

// Sample bytes that do not repeat within 256 bytes.
inline Bytes Ramp(std::size_t size) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return out;
}

// "RIFF" with the right size, the form type and the chunks.
inline Bytes Riff(const char* form, std::initializer_list<Bytes> chunks) {
  const Bytes body = Concat({Bytes(form, form + 4), Concat(chunks)});
  return Concat({ChunkHeader("RIFF", static_cast<std::uint32_t>(body.size())), body});
}

inline Bytes Wave(std::initializer_list<Bytes> chunks) {
  return Riff("WAVE", chunks);
}

// Writes the bytes to a fresh file under the temporary directory, named for this process
// (tests run in parallel processes); returns its path.
inline std::string WriteTemp(const std::string& name, const Bytes& bytes) {
  std::string path = ::testing::TempDir() + "vorlith_" + std::to_string(getpid()) + "_" + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace vorlith::test
