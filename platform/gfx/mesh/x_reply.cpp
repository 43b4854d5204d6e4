#include "platform/gfx/mesh/x_reply.h"

#include <cstring>

namespace gfx::xfile {

namespace {

void PutWord(std::vector<uint8_t>& out, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  out.insert(out.end(), b, b + 4);
}

uint32_t Word(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

constexpr uint32_t kMeshTag = 0x4853454D;  // "MESH"
constexpr char kFailTag[4] = {'F', 'A', 'I', 'L'};

}  // namespace

std::vector<uint8_t> EncodeMesh(const Mesh& mesh) {
  std::vector<uint8_t> out;
  out.reserve(12 + mesh.vertices.size() * sizeof(MeshVertex) + mesh.attributes.size() * 16);
  PutWord(out, kMeshTag);
  PutWord(out, mesh.VertexCount());
  PutWord(out, mesh.FaceCount());
  const auto* vertices = reinterpret_cast<const uint8_t*>(mesh.vertices.data());
  out.insert(out.end(), vertices, vertices + mesh.vertices.size() * sizeof(MeshVertex));
  for (uint32_t i : mesh.indices)
    PutWord(out, i);
  for (uint32_t a : mesh.attributes)
    PutWord(out, a);
  return out;
}

bool DecodeMesh(std::span<const uint8_t> bytes, Mesh* out) {
  if (bytes.size() < 12 || Word(bytes, 0) != kMeshTag) return false;
  const uint64_t vertices = Word(bytes, 4), faces = Word(bytes, 8);
  if (bytes.size() != 12 + vertices * sizeof(MeshVertex) + faces * 16) return false;
  Mesh mesh;
  mesh.vertices.resize(vertices);
  std::memcpy(mesh.vertices.data(), bytes.data() + 12, vertices * sizeof(MeshVertex));
  size_t at = 12 + vertices * sizeof(MeshVertex);
  mesh.indices.resize(faces * 3);
  for (uint32_t& i : mesh.indices) {
    i = Word(bytes, at);
    at += 4;
    if (i >= vertices) return false;
  }
  mesh.attributes.resize(faces);
  for (uint32_t& a : mesh.attributes) {
    a = Word(bytes, at);
    at += 4;
  }
  *out = std::move(mesh);
  return true;
}

std::vector<uint8_t> EncodeFailure(const std::string& reason) {
  std::vector<uint8_t> out(kFailTag, kFailTag + 4);
  out.insert(out.end(), reason.begin(), reason.end());
  return out;
}

bool DecodeFailure(std::span<const uint8_t> bytes, std::string* reason) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), kFailTag, 4) != 0) return false;
  if (reason) reason->assign(bytes.begin() + 4, bytes.end());
  return true;
}

}  // namespace gfx::xfile
