// libFuzzer target: WaveFile::Open plus Read over arbitrary bytes, once from a file and once
// from a linked-in resource (the reader's memory path). Both must give the same result.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "InputFile.h"
#include "sound/Diagnostics.h"
#include "sound/ModuleResources.h"
#include "sound/WaveFile.h"

namespace {

using vorlith::HResult;

// The resource the fuzzer's input stands in for; its bytes change with every input.
vorlith::EmbeddedResource inputResource = {"fuzz:input.wav", "WAVE", nullptr, 0};
const bool kAdded = vorlith::AddModuleResources(&inputResource, 1);

void IgnoreTrace(const char*, void*) {}

struct Outcome {
  HResult open = 0;
  std::uint32_t size = 0;
  std::vector<std::uint8_t> data;
  HResult lastRead = 0;
  bool operator==(const Outcome&) const = default;
};

Outcome OpenAndRead(const char* name, std::uint32_t piece) {
  Outcome outcome;
  vorlith::WaveFile wave;
  outcome.open = wave.Open(name);
  if (vorlith::Failed(outcome.open)) return outcome;
  outcome.size = wave.GetSize();
  const vorlith::WaveFormatEx* format = wave.GetFormat();
  if (!format || format->extra.size() != format->cbSize) std::abort();
  std::vector<std::uint8_t> buffer(piece);
  for (;;) {
    std::uint32_t got = 0;
    outcome.lastRead = wave.Read(buffer.data(), piece, &got);
    if (vorlith::Failed(outcome.lastRead) || got == 0) break;
    if (got > piece) std::abort();
    outcome.data.insert(outcome.data.end(), buffer.begin(), buffer.begin() + got);
  }
  if (outcome.data.size() > outcome.size) std::abort();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlith::SetTraceSink(IgnoreTrace, nullptr);
  (void)kAdded;
  constexpr std::uint32_t kPieces[] = {1, 7, 4096, 65536};
  const std::uint32_t piece = kPieces[size % 4];

  // The resource path: an empty input exercises the empty-resource check.
  inputResource.data = data;
  inputResource.size = size;
  Outcome fromResource = OpenAndRead("fuzz:input.wav", piece);

  const std::string path = vorlith::fuzz::WriteInputFile(data, size, ".wav");
  if (path.empty()) return 0;
  Outcome fromFile = OpenAndRead(path.c_str(), piece);
  std::remove(path.c_str());

  if (size > 0 && !(fromResource == fromFile)) std::abort();  // one reader, two sources
  return 0;
}
