#include "platform/assimp/ImportCache.h"

namespace vorlith {

ImportCache::ImportCache(std::size_t maxEntries, std::size_t maxBytes)
    : maxEntries(maxEntries), maxBytes(maxBytes) {}

const ImportCache::Result* ImportCache::Find(const std::string& fileBytes) const {
  const auto found = entries.find(fileBytes);
  return found == entries.end() ? nullptr : &found->second;
}

void ImportCache::Put(const std::string& fileBytes, const Result& result) {
  const std::size_t size = SizeOf(fileBytes, result);
  if (size > maxBytes || maxEntries == 0) return;
  if (entries.size() >= maxEntries || bytesHeld + size > maxBytes) {
    entries.clear();
    bytesHeld = 0;
  }
  const auto [entry, added] = entries.emplace(fileBytes, result);
  if (added) bytesHeld += size;
}

std::size_t ImportCache::SizeOf(const std::string& fileBytes, const Result& result) {
  const MeshData& mesh = result.model.mesh;
  std::size_t size =
      fileBytes.size() + result.error.size() + mesh.vertices.size() * sizeof(MeshVertex) +
      mesh.indices.size() * sizeof(std::uint32_t) + mesh.subsets.size() * sizeof(MeshData::Subset) +
      result.model.materials.size() * sizeof(Material);
  for (const std::string& name : result.model.textureNames) size += name.size();
  return size;
}

}  // namespace vorlith
