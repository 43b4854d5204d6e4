#include "platform/gfx/mesh/x_reader/x_flatten.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstring>
#include <unordered_map>

#include "platform/math/d3dx_math.h"

namespace gfx::xfile {

namespace {

// The bits of a vertex, for finding corners that share one.
struct VertexKey {
  uint32_t bits[8];
  bool operator==(const VertexKey& o) const { return std::memcmp(bits, o.bits, sizeof bits) == 0; }
};
struct VertexKeyHash {
  size_t operator()(const VertexKey& k) const {
    size_t h = 0;
    for (uint32_t b : k.bits)
      h = h * 1000003u ^ b;
    return h;
  }
};

VertexKey KeyOf(const MeshVertex& v) {
  VertexKey k;
  std::memcpy(k.bits, &v, sizeof k.bits);
  return k;
}

class Flattener {
 public:
  Flattener(const aiScene& scene, Mesh& out) : scene_(scene), out_(out) {}

  void Node(const aiNode& node, const aiMatrix4x4& parent) {
    const aiMatrix4x4 transform = parent * node.mTransformation;
    // Normals go through the inverse transpose of the transform's 3 x 3 part.
    aiMatrix3x3 normalMatrix(transform);
    if (normalMatrix.Determinant() != 0.0f) normalMatrix.Inverse().Transpose();
    std::unordered_map<VertexKey, uint32_t, VertexKeyHash> shared;
    const size_t first = out_.vertices.size();
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
      if (node.mMeshes[i] >= scene_.mNumMeshes) continue;
      const aiMesh& mesh = *scene_.mMeshes[node.mMeshes[i]];
      // Each of assimp's meshes is one material of a .x mesh, in the file's order.
      const uint32_t attribute = nextAttribute_++;
      std::vector<uint32_t> local(mesh.mNumVertices, UINT32_MAX);
      for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) continue;  // points and lines
        bool valid = true;
        for (int c = 0; c < 3; ++c)
          valid &= face.mIndices[c] < mesh.mNumVertices;
        if (!valid) continue;
        for (int c = 0; c < 3; ++c)
          out_.indices.push_back(Vertex(mesh, face.mIndices[c], local, shared));
        out_.attributes.push_back(attribute);
      }
    }
    // The node's vertices are placed once its corners have found the vertices they share.
    for (size_t v = first; v < out_.vertices.size(); ++v)
      Place(out_.vertices[v], transform, normalMatrix);
    for (unsigned c = 0; c < node.mNumChildren; ++c)
      if (node.mChildren[c]) Node(*node.mChildren[c], transform);
  }

 private:
  uint32_t Vertex(const aiMesh& mesh, unsigned index, std::vector<uint32_t>& local,
                  std::unordered_map<VertexKey, uint32_t, VertexKeyHash>& shared) {
    if (local[index] != UINT32_MAX) return local[index];
    MeshVertex v;
    const aiVector3D& p = mesh.mVertices[index];
    v.position = {p.x, p.y, p.z};
    if (mesh.mNormals) {
      const aiVector3D& n = mesh.mNormals[index];
      v.normal = {n.x, n.y, n.z};
    }
    if (mesh.mTextureCoords[0]) {
      const aiVector3D& t = mesh.mTextureCoords[0][index];
      v.uv = {t.x, t.y};
    }
    const auto [it, added] = shared.emplace(KeyOf(v), uint32_t(out_.vertices.size()));
    if (added) out_.vertices.push_back(v);
    return local[index] = it->second;
  }

  static void Place(MeshVertex& v, const aiMatrix4x4& m, const aiMatrix3x3& n) {
    const aiVector3D p = m * aiVector3D(v.position.x, v.position.y, v.position.z);
    v.position = {p.x, p.y, p.z};
    aiVector3D normal = n * aiVector3D(v.normal.x, v.normal.y, v.normal.z);
    v.normal = {normal.x, normal.y, normal.z};
    D3DXVec3Normalize(&v.normal, &v.normal);
  }

  const aiScene& scene_;
  Mesh& out_;
  uint32_t nextAttribute_ = 0;
};

}  // namespace

bool ImportFlattened(std::span<const uint8_t> data, Mesh* out, std::string* error) {
  Assimp::Importer importer;
  // assimp turns .x data into right-handed space; this turns it back to the file's own.
  const unsigned flags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate;
  const aiScene* scene = importer.ReadFileFromMemory(data.data(), data.size(), flags, "x");
  if (!scene || !scene->mRootNode) {
    if (error) *error = importer.GetErrorString();
    return false;
  }
  Mesh mesh;
  Flattener(*scene, mesh).Node(*scene->mRootNode, aiMatrix4x4());
  if (mesh.attributes.empty()) {
    if (error) *error = "the data holds no triangles";
    return false;
  }
  *out = std::move(mesh);
  return true;
}

}  // namespace gfx::xfile
