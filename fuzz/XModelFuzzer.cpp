// Feeds arbitrary bytes to the .x model loader: the structural check, then the importer in its
// helper process. A crash of the helper is reported by libFuzzer in the helper; the loader must
// survive it, fail cleanly and start another helper for the next input.
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
