#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/LoadedModel.h"

namespace vorlith {

// A model as the desktop's .x loader made it, in a compact binary file the browser build reads
// in place of the .x file (the build converts each model under the same name). Little-endian:
//   "VMSH", version (u32), vertex, index and subset counts (u32), flags (u32, bit 0: normals),
//   the vertices (8 f32 each: position, normal, texture coordinates), the indices (u32),
//   the subsets (first index, index count: u32), one material a subset (17 f32: diffuse,
//   ambient, specular, emissive RGBA and power), one texture name a subset (u32 length, bytes).
// Nothing may follow. The reader trusts no count: each must fit in the bytes that are left,
// every corner must name a vertex and every subset lie within the corners.
constexpr std::uint32_t kMeshFileVersion = 1;

std::vector<std::uint8_t> WriteMeshFile(const LoadedModel& model);
// False with a message in error when the bytes are not a mesh file this build reads.
bool ReadMeshFile(const std::vector<std::uint8_t>& bytes, LoadedModel& out, std::string& error);

}  // namespace vorlith
