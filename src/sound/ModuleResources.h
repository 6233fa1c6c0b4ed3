#pragma once

#include <cstddef>
#include <cstdint>

namespace vorlith {

// A data file linked into the program under a name and a type (cmake/Resources.cmake).
struct EmbeddedResource {
  const char* name;
  const char* type;
  const std::uint8_t* data;
  std::size_t size;
};

// The resource of that name and type (both compared without regard to ASCII case), or null.
// The game's own table is searched first, then any tables added by the program.
const EmbeddedResource* FindModuleResource(const char* name, const char* type);

// Adds a table that lives as long as the process (the generated tables of tests and tools
// add themselves at start-up). Returns true so that it can initialise a static.
bool AddModuleResources(const EmbeddedResource* table, std::size_t count);

// Adds a function that makes and adds a table when it is first needed: the first lookup
// calls each such function once, before it searches. Returns true, as above.
bool AddModuleResourceMaker(void (*make)());

}  // namespace vorlith
