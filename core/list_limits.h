#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

// The most live particles or sprites one list (and one quad batch) holds. Every count of them
// that comes from a file (emission rates, stored counts, pre-run lengths, batch sizes) is capped
// here, so that a project cannot make the player allocate or simulate without bound; a quad
// batch of this many quads takes 12 MiB of vertices.
inline constexpr uint32_t kMaxParticlesPerList = 131072;

namespace list_limits_detail {
inline std::atomic<uint32_t> emittedParticleCap{kMaxParticlesPerList};
}  // namespace list_limits_detail

// The cap on the particles a system's list gathers by emission while it plays (node-tree
// physics, classic controls): kMaxParticlesPerList, unless a host that must bound the cost of
// every load it is given (the project fuzz target) lowered it. The player never does.
inline uint32_t EmittedParticleCap() {
  return list_limits_detail::emittedParticleCap.load(std::memory_order_relaxed);
}
inline void LowerEmittedParticleCap(uint32_t cap) {
  list_limits_detail::emittedParticleCap.store(std::min(cap, kMaxParticlesPerList),
                                               std::memory_order_relaxed);
}
