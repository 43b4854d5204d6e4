#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/gfx/mesh/mesh.h"

namespace gfx::xfile {

// Reads .x data with assimp and flattens it into one mesh (see LoadMeshFromXInMemory). Runs
// only in the reader program; damaged data may crash it.
bool ImportFlattened(std::span<const uint8_t> data, Mesh* out, std::string* error);

}  // namespace gfx::xfile
