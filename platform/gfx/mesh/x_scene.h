#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/mesh/mesh.h"

namespace gfx::xfile {

// Reads .x data with assimp and flattens it into one mesh (see LoadMeshFromXInMemory). Runs
// in the child process of the loader; damaged data may crash it.
bool ImportFlattened(std::span<const uint8_t> data, Mesh* out, std::string* error);

// The mesh as the child sends it to the loader, and back. Decode checks every count against
// the bytes and every index against the vertices.
std::vector<uint8_t> EncodeMesh(const Mesh& mesh);
bool DecodeMesh(std::span<const uint8_t> bytes, Mesh* out);

}  // namespace gfx::xfile
