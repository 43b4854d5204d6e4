#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/mesh/mesh.h"

// What the .x reader program (platform/gfx/mesh/x_reader) answers the loader through its
// standard output: the flattened mesh, or a failure with its reason.
namespace gfx::xfile {

// How long the loader waits for the reader, and the largest reply it takes.
inline constexpr std::chrono::milliseconds kReaderTimeLimit = std::chrono::seconds(8);
inline constexpr size_t kMaxReply = size_t(1) << 30;

// The mesh as the reader sends it, and back. Decode checks every count against the bytes and
// every index against the vertices.
std::vector<uint8_t> EncodeMesh(const Mesh& mesh);
[[nodiscard]] bool DecodeMesh(std::span<const uint8_t> bytes, Mesh* out);

// A reply that is not a mesh: a tag, then the reason.
std::vector<uint8_t> EncodeFailure(const std::string& reason);
// Whether the reply is a failure; its reason goes to `reason`.
[[nodiscard]] bool DecodeFailure(std::span<const uint8_t> bytes, std::string* reason);

}  // namespace gfx::xfile
