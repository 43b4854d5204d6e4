#pragma once

#include <cstdint>
#include <vector>

#include "core/crt_rand.h"
#include "core/registry/core_class_list.h"
#include "core/timing/timing_test_support.h"
#include "geometry/geometry_class_list.h"

// The class lists that hold the figures and the gradients.
inline void RegisterFigureClasses() {
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses});
}

// The generator's state after seeding it with `seed` and drawing `count` times; the generator is
// seeded with `seed` again afterwards.
inline uint32_t StateAfterDraws(unsigned seed, int count) {
  crt_srand(seed);
  for (int i = 0; i < count; ++i)
    crt_rand();
  const uint32_t state = crt_rand_state();
  crt_srand(seed);
  return state;
}
