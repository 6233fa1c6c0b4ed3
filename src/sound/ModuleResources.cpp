#include "sound/ModuleResources.h"

#include <utility>
#include <vector>

namespace vorlith {

// Generated from the game's data files at build time.
extern const EmbeddedResource kGameResources[];
extern const std::size_t kGameResourcesCount;

namespace {

using Table = std::pair<const EmbeddedResource*, std::size_t>;

std::vector<Table>& AddedTables() {
  static std::vector<Table> tables;
  return tables;
}

std::vector<void (*)()>& Makers() {
  static std::vector<void (*)()> makers;
  return makers;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  }
  return *a == *b;
}

const EmbeddedResource* FindIn(const Table& table, const char* name, const char* type) {
  for (std::size_t i = 0; i < table.second; ++i) {
    const EmbeddedResource& resource = table.first[i];
    if (SameText(resource.name, name) && SameText(resource.type, type)) return &resource;
  }
  return nullptr;
}

}  // namespace

const EmbeddedResource* FindModuleResource(const char* name, const char* type) {
  if (!name || !type) return nullptr;
  std::vector<void (*)()> makers;
  makers.swap(Makers());
  for (void (*make)() : makers) make();
  if (const EmbeddedResource* found = FindIn({kGameResources, kGameResourcesCount}, name, type)) {
    return found;
  }
  for (const Table& table : AddedTables()) {
    if (const EmbeddedResource* found = FindIn(table, name, type)) return found;
  }
  return nullptr;
}

bool AddModuleResources(const EmbeddedResource* table, std::size_t count) {
  AddedTables().emplace_back(table, count);
  return true;
}

bool AddModuleResourceMaker(void (*make)()) {
  Makers().push_back(make);
  return true;
}

}  // namespace vorlith
