#pragma once

#include <cstdint>

// The most live particles or sprites one list (and one quad batch) holds. Every count of them
// that comes from a file (emission rates, stored counts, pre-run lengths, batch sizes) is capped
// here, so that a project cannot make the player allocate or simulate without bound; a quad
// batch of this many quads takes 12 MiB of vertices.
inline constexpr uint32_t kMaxParticlesPerList = 131072;
