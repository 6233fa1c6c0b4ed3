#include "platform/PngFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

namespace vorlith {
namespace {

// An SDL stream that appends whatever is written to a byte vector.
SDL_RWops* OpenGrowingBuffer(std::vector<std::uint8_t>& bytes) {
  SDL_RWops* stream = SDL_AllocRW();
  if (!stream) return nullptr;
  stream->type = SDL_RWOPS_UNKNOWN;
  stream->hidden.unknown.data1 = &bytes;
  stream->size = [](SDL_RWops* s) -> Sint64 {
    return static_cast<Sint64>(
        static_cast<std::vector<std::uint8_t>*>(s->hidden.unknown.data1)->size());
  };
  stream->seek = [](SDL_RWops* s, Sint64 offset, int whence) -> Sint64 {
    const auto size = static_cast<Sint64>(
        static_cast<std::vector<std::uint8_t>*>(s->hidden.unknown.data1)->size());
    return offset == 0 && (whence == RW_SEEK_CUR || whence == RW_SEEK_END) ? size : -1;
  };
  stream->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
  stream->write = [](SDL_RWops* s, const void* data, size_t size, size_t count) -> size_t {
    auto* out = static_cast<std::vector<std::uint8_t>*>(s->hidden.unknown.data1);
    const auto* from = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), from, from + size * count);
    return count;
  };
  stream->close = [](SDL_RWops* s) -> int {
    SDL_FreeRW(s);
    return 0;
  };
  return stream;
}

}  // namespace

bool EncodePng(const std::vector<std::uint8_t>& rgba, int width, int height,
               std::vector<std::uint8_t>& png) {
  png.clear();
  if (width <= 0 || height <= 0 ||
      rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    return false;
  }
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgba.data()), width, height, 32,
                                         width * 4, SDL_PIXELFORMAT_ABGR8888);
  if (!surface) return false;
  SDL_RWops* stream = OpenGrowingBuffer(png);
  const bool encoded = stream && IMG_SavePNG_RW(surface, stream, 1) == 0 && !png.empty();
  SDL_FreeSurface(surface);
  return encoded;
}

bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int width,
              int height) {
  std::vector<std::uint8_t> png;
  if (!EncodePng(rgba, width, height, png)) return false;
  // SDL opens the UTF-8 path with the system's wide calls on Windows.
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "wb");
  if (!file) return false;
  const bool written = SDL_RWwrite(file, png.data(), 1, png.size()) == png.size();
  return SDL_RWclose(file) == 0 && written;
}

}  // namespace vorlith
