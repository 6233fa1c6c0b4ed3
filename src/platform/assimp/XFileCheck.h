#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlith {

// A quick structural check of a .x file (text, binary, or either compressed) before the
// importer sees it. It reads the tokens and, for the objects whose sizes the importer trusts
// (meshes, their normals, texture coordinates, colours, material lists, skin weights, vertex
// duplication indices, declared data, animation keys), checks every declared count against
// the data that follows and every vertex index against its mesh. A file that declares
// billions of vertices in a few bytes, or skin weights for vertices its mesh does not have,
// is refused here instead of making the importer allocate gigabytes or write out of bounds.
class XFileCheck {
 public:
  // Inflated data larger than this is refused.
  static constexpr std::size_t kMaxInflatedBytes = 64u * 1024u * 1024u;
  static constexpr int kMaxDepth = 64;

  // True when the file is well enough formed for the importer; else false with a message.
  static bool Check(const std::vector<std::uint8_t>& file, std::string& error);
};

}  // namespace vorlith
