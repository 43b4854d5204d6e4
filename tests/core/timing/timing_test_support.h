#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/crt_rand.h"
#include "core/object/ds_iof_item.h"
#include "core/registry/core_class_list.h"

// The core class list, which holds the timeline kinds; every test that makes a timing part or
// reads a timeline by name registers it first (each test runs in its own process).
inline void RegisterTimelineClasses() {
  RegisterClasses({RegisterCoreClasses});
}

// What an object's Save writes.
inline std::vector<uint8_t> SavedBytes(const DS_IOF_Item& item) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  item.Save(archive);
  return w.TakeBytes();
}

// Bytes written by `write` into a writing archive.
template <class Fn>
std::vector<uint8_t> WrittenBytes(Fn write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

// The next `count` results of the C library generator after seeding it with `seed`; the
// generator is seeded with `seed` again afterwards, so the code under test draws the same values.
inline std::vector<int> DrawsAfterSeed(unsigned seed, int count) {
  crt_srand(seed);
  std::vector<int> draws;
  for (int i = 0; i < count; ++i)
    draws.push_back(crt_rand());
  crt_srand(seed);
  return draws;
}

// Whether the generator is still where seeding it with `seed` put it (nothing drew from it).
inline bool NothingDrawnSince(unsigned seed) {
  const int next = crt_rand();
  crt_srand(seed);
  return next == crt_rand();
}
