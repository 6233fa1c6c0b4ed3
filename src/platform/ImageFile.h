#pragma once

#include <cstddef>
#include <string>

namespace vorlith {

// An image file a model names as a texture, read whole and checked before anything decodes
// it: a regular file of at most kMaxBytes (see RegularFile) holding a PNG, JPEG, BMP or TGA
// picture whose header declares at most kMaxSide pixels each way, so that a small file
// cannot make the decoder allocate gigabytes.
class ImageFile {
 public:
  static constexpr std::size_t kMaxBytes = 64u * 1024u * 1024u;
  static constexpr int kMaxSide = 4096;

  // False with the reason ("not a regular file", "16384 x 16384 pixels, more than ...").
  bool Read(const std::string& path, std::string& why);
  // The format and size from the file's first bytes. TGA has no signature: a name ending in
  // ".tga" (any case) says it is one.
  bool Probe(const std::string& path, std::string& why);

  std::string bytes;
  const char* type = "";  // "PNG", "JPG", "BMP" or "TGA", the names SDL_image uses
  long width = 0;
  long height = 0;
};

}  // namespace vorlith
