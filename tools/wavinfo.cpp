// wavinfo FILE...: what the game's WAVE reader makes of each file. For a file it opens:
// the format fields, the extra format bytes, the data size, the first data bytes and how
// many bytes reading the whole data gave; for one it rejects: the failing step and code.
// Every trace line the reader wrote follows. Exit status 0 when every file opened and read
// to its end, 1 otherwise, 2 for a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "sound/Diagnostics.h"
#include "sound/WaveFile.h"

namespace {

using vorlith::HResult;

constexpr std::size_t kFirstBytes = 16;
constexpr std::uint32_t kPiece = 4096;

void CollectTrace(const char* line, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(line);
}

// "…/WaveFile.cpp(123): mmioFOURCC hr=E_FAIL (0x80004005)\n" -> "mmioFOURCC hr=E_FAIL (0x80004005)"
std::string StepOf(const std::string& line) {
  std::size_t colon = line.find("): ");
  std::string step = colon == std::string::npos ? line : line.substr(colon + 3);
  while (!step.empty() && step.back() == '\n') step.pop_back();
  return step;
}

void PrintHex(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) std::printf("%s%02x", i ? " " : "", bytes[i]);
}

void PrintFormat(const vorlith::WaveFormatEx& f) {
  std::printf("  format: tag=%u channels=%u rate=%u avgBytes=%u blockAlign=%u bits=%u cbSize=%u\n",
              f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.nAvgBytesPerSec, f.nBlockAlign,
              f.wBitsPerSample, f.cbSize);
  if (!f.extra.empty()) {
    std::printf("  extra: ");
    PrintHex(f.extra.data(), f.extra.size());
    std::printf("\n");
  }
}

// Reads the whole data in pieces; false when a read failed.
bool PrintData(vorlith::WaveFile& wave) {
  std::printf("  data: %u bytes\n", wave.GetSize());
  std::vector<std::uint8_t> piece(kPiece);
  std::uint64_t total = 0;
  bool firstShown = false;
  for (;;) {
    std::uint32_t got = 0;
    HResult hr = wave.Read(piece.data(), kPiece, &got);
    if (vorlith::Failed(hr)) {
      std::printf("  read: failed after %llu bytes: hr=%s (0x%08x)\n",
                  static_cast<unsigned long long>(total), vorlith::GetResultName(hr),
                  static_cast<unsigned>(hr));
      return false;
    }
    if (!firstShown && got > 0) {
      std::printf("  first: ");
      PrintHex(piece.data(), got < kFirstBytes ? got : kFirstBytes);
      std::printf("\n");
      firstShown = true;
    }
    if (got == 0) break;
    total += got;
  }
  std::printf("  read: %llu bytes\n", static_cast<unsigned long long>(total));
  return true;
}

bool Describe(const char* path) {
  std::vector<std::string> trace;
  vorlith::SetTraceSink(CollectTrace, &trace);
  std::printf("%s\n", path);
  vorlith::WaveFile wave;
  HResult hr = wave.Open(path);
  bool ok = !vorlith::Failed(hr);
  if (ok) {
    PrintFormat(*wave.GetFormat());
    ok = PrintData(wave);
  } else {
    std::printf("  rejected: %s\n",
                trace.empty() ? vorlith::GetResultName(hr) : StepOf(trace[0]).c_str());
  }
  for (const std::string& line : trace) std::printf("  trace: %s", line.c_str());
  vorlith::SetTraceSink(nullptr, nullptr);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
    return 2;
  }
  bool allRead = true;
  for (int i = 1; i < argc; ++i) allRead = Describe(argv[i]) && allRead;
  return allRead ? 0 : 1;
}
