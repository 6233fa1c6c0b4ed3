#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/XModelLoader.h"

namespace vorlith {

// What the importer made of a file's bytes, kept by those bytes: a file read again with the
// same contents (the next stage start) is answered without importing it again. Bounded in
// entries and bytes; when full, it starts over empty.
class ImportCache {
 public:
  struct Result {
    bool loaded = false;
    LoadedModel model;  // empty unless loaded
    std::string error;  // empty if loaded
  };

  ImportCache(std::size_t maxEntries, std::size_t maxBytes);

  // The result kept for exactly these bytes, or null.
  const Result* Find(const std::string& fileBytes) const;
  void Put(const std::string& fileBytes, const Result& result);
  std::size_t GetEntryCount() const { return entries.size(); }

 private:
  static std::size_t SizeOf(const std::string& fileBytes, const Result& result);

  std::size_t maxEntries;
  std::size_t maxBytes;
  std::size_t bytesHeld = 0;
  std::unordered_map<std::string, Result> entries;
};

}  // namespace vorlith
