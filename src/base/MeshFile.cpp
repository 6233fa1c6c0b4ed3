#include "base/MeshFile.h"

#include <algorithm>
#include <cstring>

namespace vorlith {
namespace {

constexpr char kSignature[4] = {'V', 'M', 'S', 'H'};
constexpr std::size_t kVertexFloats = 8;
constexpr std::size_t kMaterialFloats = 17;
constexpr std::uint32_t kFlagNormals = 1;
// A texture name is a relative path, never a long one.
constexpr std::uint32_t kMaxTextureNameBytes = 4096;

class Writer {
 public:
  void U32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::uint8_t(value >> shift));
  }
  void F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void Colour(const ColorValue& c) {
    for (float f : {c.r, c.g, c.b, c.a}) F32(f);
  }
  void Text(const std::string& text) {
    U32(static_cast<std::uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  std::vector<std::uint8_t> bytes;
};

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes(bytes) {}

  bool U32(std::uint32_t& value) {
    if (Left() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t(bytes[at + i]) << (8 * i);
    at += 4;
    return true;
  }
  bool F32(float& value) {
    std::uint32_t bits = 0;
    if (!U32(bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
  }
  bool Colour(ColorValue& c) { return F32(c.r) && F32(c.g) && F32(c.b) && F32(c.a); }
  bool Text(std::string& text, std::uint32_t maxBytes) {
    std::uint32_t length = 0;
    if (!U32(length) || length > maxBytes || length > Left()) return false;
    text.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
    return true;
  }
  bool Signature() {
    if (Left() < sizeof kSignature || std::memcmp(&bytes[at], kSignature, sizeof kSignature) != 0)
      return false;
    at += sizeof kSignature;
    return true;
  }
  // Whether count items of itemBytes each can still follow (checked before any allocation).
  bool Fits(std::uint64_t count, std::uint64_t itemBytes) const {
    return count <= Left() / itemBytes;
  }
  std::size_t Left() const { return bytes.size() - at; }

 private:
  const std::vector<std::uint8_t>& bytes;
  std::size_t at = 0;
};

bool ReadVertices(Reader& in, std::vector<MeshVertex>& vertices) {
  for (MeshVertex& v : vertices) {
    for (float* f : {&v.px, &v.py, &v.pz, &v.nx, &v.ny, &v.nz, &v.u, &v.v}) {
      if (!in.F32(*f)) return false;
    }
  }
  return true;
}

bool ReadMaterial(Reader& in, Material& m) {
  return in.Colour(m.diffuse) && in.Colour(m.ambient) && in.Colour(m.specular) &&
         in.Colour(m.emissive) && in.F32(m.power);
}

bool Fail(std::string& error, const std::string& message) {
  error = "mesh file: " + message;
  return false;
}

bool ReadBody(Reader& in, std::uint32_t vertexCount, std::uint32_t indexCount,
              std::uint32_t subsetCount, LoadedModel& out, std::string& error) {
  out.mesh.vertices.resize(vertexCount);
  out.mesh.indices.resize(indexCount);
  out.mesh.subsets.resize(subsetCount);
  out.materials.resize(subsetCount);
  out.textureNames.resize(subsetCount);
  bool complete = ReadVertices(in, out.mesh.vertices);
  for (std::uint32_t& index : out.mesh.indices) complete = complete && in.U32(index);
  for (MeshData::Subset& s : out.mesh.subsets)
    complete = complete && in.U32(s.firstIndex) && in.U32(s.indexCount);
  for (Material& m : out.materials) complete = complete && ReadMaterial(in, m);
  for (std::string& name : out.textureNames)
    complete = complete && in.Text(name, kMaxTextureNameBytes);
  if (!complete) return Fail(error, "cut short or a texture name is too long");
  if (in.Left() != 0) return Fail(error, std::to_string(in.Left()) + " bytes after the model");
  for (std::uint32_t index : out.mesh.indices) {
    if (index >= vertexCount)
      return Fail(error, "a corner names vertex " + std::to_string(index) + " of " +
                             std::to_string(vertexCount));
  }
  for (const MeshData::Subset& s : out.mesh.subsets) {
    if (s.firstIndex > indexCount || s.indexCount > indexCount - s.firstIndex)
      return Fail(error, "a subset lies outside the " + std::to_string(indexCount) + " corners");
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> WriteMeshFile(const LoadedModel& model) {
  Writer out;
  out.bytes.assign(kSignature, kSignature + sizeof kSignature);
  out.U32(kMeshFileVersion);
  out.U32(static_cast<std::uint32_t>(model.mesh.vertices.size()));
  out.U32(static_cast<std::uint32_t>(model.mesh.indices.size()));
  out.U32(static_cast<std::uint32_t>(model.mesh.subsets.size()));
  out.U32(model.mesh.hasNormals ? kFlagNormals : 0);
  for (const MeshVertex& v : model.mesh.vertices) {
    for (float f : {v.px, v.py, v.pz, v.nx, v.ny, v.nz, v.u, v.v}) out.F32(f);
  }
  for (std::uint32_t index : model.mesh.indices) out.U32(index);
  for (const MeshData::Subset& s : model.mesh.subsets) {
    out.U32(s.firstIndex);
    out.U32(s.indexCount);
  }
  for (std::size_t i = 0; i < model.mesh.subsets.size(); ++i) {
    const Material m = i < model.materials.size() ? model.materials[i] : Material{};
    for (const ColorValue* c : {&m.diffuse, &m.ambient, &m.specular, &m.emissive}) out.Colour(*c);
    out.F32(m.power);
  }
  for (std::size_t i = 0; i < model.mesh.subsets.size(); ++i)
    out.Text(i < model.textureNames.size() ? model.textureNames[i] : std::string());
  return std::move(out.bytes);
}

bool ReadMeshFile(const std::vector<std::uint8_t>& bytes, LoadedModel& out, std::string& error) {
  out = LoadedModel{};
  error.clear();
  Reader in(bytes);
  std::uint32_t version = 0, vertexCount = 0, indexCount = 0, subsetCount = 0, flags = 0;
  if (!in.Signature()) return Fail(error, "not a mesh file (no VMSH signature)");
  if (!in.U32(version)) return Fail(error, "cut short in its header");
  if (version != kMeshFileVersion)
    return Fail(error, "version " + std::to_string(version) + " (this build reads version " +
                           std::to_string(kMeshFileVersion) + ")");
  if (!in.U32(vertexCount) || !in.U32(indexCount) || !in.U32(subsetCount) || !in.U32(flags))
    return Fail(error, "cut short in its header");
  // Smallest sizes: a texture name takes at least its length word.
  const std::uint64_t subsetBytes = 8 + 4 * kMaterialFloats + 4;
  const std::uint64_t needed = std::uint64_t(vertexCount) * 4 * kVertexFloats +
                               std::uint64_t(indexCount) * 4 + subsetCount * subsetBytes;
  if (!in.Fits(needed, 1))
    return Fail(error, "its counts (" + std::to_string(vertexCount) + " vertices, " +
                           std::to_string(indexCount) + " corners, " + std::to_string(subsetCount) +
                           " subsets) need more than its " + std::to_string(bytes.size()) +
                           " bytes");
  if (subsetCount == 0 || indexCount == 0) return Fail(error, "no triangles");
  if (indexCount % 3 != 0) return Fail(error, "a corner count not a multiple of three");
  out.mesh.hasNormals = (flags & kFlagNormals) != 0;
  if (!ReadBody(in, vertexCount, indexCount, subsetCount, out, error)) {
    out = LoadedModel{};
    return false;
  }
  return true;
}

}  // namespace vorlith
