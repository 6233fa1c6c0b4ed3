// libFuzzer target: the replay parser over arbitrary bytes, once from memory and once from a
// file (the streaming reader, which checks the file and then reads it again as it plays).
// Both must agree, frame by frame; an error must name a line that exists and be printable,
// and a parsed script must answer every frame within its length.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "InputFile.h"
#include "replay/ReplayScript.h"
#include "replay/ReplayStream.h"

namespace {

void CheckError(const std::string& error, const std::string& text) {
  if (error.rfind("line ", 0) != 0) std::abort();
  const long long line = std::atoll(error.c_str() + 5);
  long long lines = 1;
  for (char c : text) lines += c == '\n';
  if (line < 1 || line > lines) std::abort();
  for (unsigned char c : error) {
    if (c < 0x20 || c == 0x7F) std::abort();  // bytes of the input come out escaped
  }
}

void CheckScript(const vorlith::ReplayScript& script) {
  const std::int64_t frames = script.GetFrameCount();
  if (frames < 0 || frames > vorlith::replay_format::kMaxFrames) std::abort();
  for (std::int64_t frame : {std::int64_t{-1}, std::int64_t{0}, frames / 2, frames - 1, frames}) {
    const vorlith::ReplayControls controls = script.GetControls(frame);
    if ((frame < 0 || frame >= frames) && controls != 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  vorlith::ReplayScript fromMemory;
  std::string memoryError;
  std::istringstream in(text);
  const bool parsed = fromMemory.Parse(in, memoryError);
  parsed ? CheckScript(fromMemory) : CheckError(memoryError, text);

  const std::string path = vorlith::fuzz::WriteInputFile(data, size, ".replay");
  if (path.empty()) return 0;
  vorlith::ReplayStream fromFile;
  std::string fileError;
  const bool loaded = fromFile.Open(path, fileError);

  // One parser, two sources: "line N: ..." from memory is "FILE:N: ..." from the file.
  if (loaded != parsed) std::abort();
  if (loaded && fromFile.GetFrameCount() != fromMemory.GetFrameCount()) std::abort();
  if (!loaded && fileError != path + ":" + memoryError.substr(5)) std::abort();
  const std::int64_t played = std::min<std::int64_t>(fromMemory.GetFrameCount(), 1 << 16);
  for (std::int64_t frame = 0; loaded && frame < played; ++frame)
    if (fromFile.ReadFrame() != fromMemory.GetControls(frame)) std::abort();
  if (!fromFile.GetError().empty()) std::abort();
  std::remove(path.c_str());
  return 0;
}
