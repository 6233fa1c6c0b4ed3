// Feeds arbitrary bytes to the .x model loader: the structural check, then the importer in a
// child process. A crash of the child is reported by libFuzzer in the child; the loader must
// survive it and fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/XModelLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  vorlith::LoadedModel model;
  std::string error;
  vorlith::LoadXModelFromMemory(bytes, model, error);
  return 0;
}
