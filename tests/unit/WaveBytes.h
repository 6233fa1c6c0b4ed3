#pragma once

// Builds RIFF WAVE files byte by byte for the reader's tests.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vorlith::test {

using Bytes = std::vector<std::uint8_t>;

inline void Append16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Append32(Bytes& out, std::uint32_t value) {
  Append16(out, value & 0xFFFF);
  Append16(out, value >> 16);
}

inline void AppendId(Bytes& out, const char* id) {
  out.insert(out.end(), id, id + 4);
}

// A chunk with the given id and body; an odd body gets its pad byte unless told not to.
inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
  Bytes out;
  AppendId(out, id);
  Append32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) out.push_back(0);
  return out;
}

// A chunk header claiming a size that the bytes after it need not have.
inline Bytes ChunkHeader(const char* id, std::uint32_t size) {
  Bytes out;
  AppendId(out, id);
  Append32(out, size);
  return out;
}

// The 16 format bytes every WAVE file has.
inline Bytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                        std::uint16_t bits) {
  Bytes out;
  std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
  Append16(out, tag);
  Append16(out, channels);
  Append32(out, rate);
  Append32(out, rate * blockAlign);
  Append16(out, blockAlign);
  Append16(out, bits);
  return out;
}

inline Bytes PcmFormat16Mono() {
  return Chunk("fmt ", FormatBody(1, 1, 44100, 16));
}

// Counting bytes 0, 1, 2, ... as sample data.
inline Bytes Ramp(std::size_t size) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// "RIFF" with the right size, the form type and the chunks.
inline Bytes Riff(const char* form, std::initializer_list<Bytes> chunks) {
  Bytes body;
  AppendId(body, form);
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  Bytes out;
  AppendId(out, "RIFF");
  Append32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes Wave(std::initializer_list<Bytes> chunks) {
  return Riff("WAVE", chunks);
}

// Writes the bytes to a fresh file under the temporary directory, named for this process
// (tests run in parallel processes); returns its path.
inline std::string WriteTemp(const std::string& name, const Bytes& bytes) {
  std::string path = ::testing::TempDir() + "vorlith_" + std::to_string(getpid()) + "_" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

}  // namespace vorlith::test
