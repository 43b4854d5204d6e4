#pragma once

#include <cstdint>
#include <span>

#include "core/zkw_string.h"
#include "platform/gfx/mesh/mesh.h"
#include "player/resources/mesh_buffers.h"

// Loads a .x mesh into `out`: vertices of position, normal and texture coordinates (32 bytes),
// normals computed from the faces, faces grouped by material and unused vertices dropped,
// 16-bit indices and the bounding sphere. The buffers are managed and write-only; the vertex
// buffer holds `stride` bytes per vertex (every caller passes 32). A mesh that cannot be loaded,
// or whose vertices 16-bit indices cannot reach, leaves `out` empty, as does the lack of a
// device (then nothing is read).
void LoadMeshFromMemory(std::span<const uint8_t> bytes, uint32_t stride, MeshBuffers& out);
// The same for a file named by a stored path.
void LoadMeshFromFile(const zkw_string& path, uint32_t stride, MeshBuffers& out);

// Steps of the loaders: the mesh's 16-bit indices into a new index buffer of out, and its
// vertices (`stride` bytes each, the part past the 32 bytes of a vertex zero) into a new vertex
// buffer. Each releases the buffer it replaces; false when the buffer cannot be made.
bool CopyMeshIndices(const gfx::Mesh& mesh, MeshBuffers& out);
bool CopyMeshVertices(const gfx::Mesh& mesh, uint32_t stride, MeshBuffers& out);
