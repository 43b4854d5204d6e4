#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/crt_rand.h"
#include "core/registry/core_class_list.h"
#include "core/timing/timing_test_support.h"
#include "geometry/geometry_class_list.h"
#include "geometry/shape/zkw_vgeom2d.h"

// The class lists that hold the shapes and the graphs a stripe stores.
inline void RegisterShapeClasses() {
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses});
}

// A shape read back by class name from stored bytes, with what reading it did to the stream.
struct ReadShape {
  std::unique_ptr<ZKW_VGeom2D> shape;
  bool failed = false;
  uint64_t unread = 0;
};

inline ReadShape ReadShapeFrom(std::vector<uint8_t> bytes) {
  ArchiveSource source(SourceMode::Memory, std::move(bytes));
  ReadShape read;
  read.shape = ReadVGeom2D(source.archive());
  read.failed = source.archive().Failed();
  read.unread = source.buffer().Remaining();
  return read;
}

// A record that reads completely and cleanly into a shape of kind Kind; null (with the failure
// reported) otherwise.
template <class Kind = ZKW_VGeom2D>
std::unique_ptr<Kind> ReadWhole(std::vector<uint8_t> bytes) {
  ReadShape read = ReadShapeFrom(std::move(bytes));
  EXPECT_FALSE(read.failed);
  EXPECT_EQ(read.unread, 0u);
  auto* kind = dynamic_cast<Kind*>(read.shape.get());
  EXPECT_NE(kind, nullptr);
  if (kind == nullptr) return nullptr;
  read.shape.release();
  return std::unique_ptr<Kind>(kind);
}

// The value a stored draw of the C library generator stands for.
inline float Unit(int draw) {
  return static_cast<float>(draw) / 32767.0f;
}
