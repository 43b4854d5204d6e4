#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/read_by_name.h"
#include "platform/math/d3dx_math.h"

// Record helpers shared by the effect tests.

// What `item`'s Save writes.
inline std::vector<uint8_t> Written(const DS_IOF_Item& item) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  item.Save(archive);
  return w.TakeBytes();
}

// Reads one object by class name; `whole` tells whether the stream held exactly it.
inline std::unique_ptr<ZKW_IOF_Item> Read(const std::vector<uint8_t>& bytes, bool* whole) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  *whole = !archive.Failed() && buffer.Remaining() == 0;
  return item;
}

// Each item's record reads back, whole, into an object that writes the same bytes.
inline void ExpectEachReadsBack(std::initializer_list<const DS_IOF_Item*> items) {
  for (const DS_IOF_Item* item : items) {
    const std::vector<uint8_t> bytes = Written(*item);
    bool whole = false;
    const std::unique_ptr<ZKW_IOF_Item> read = Read(bytes, &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Written(*read), bytes);
  }
}

// Writes records by hand (older versions) into bytes.
class RecordBytes {
 public:
  RecordBytes() : archive_(MakeWriter()) {}
  DS_IOF_Archive& archive() { return archive_; }
  std::vector<uint8_t> Take() { return writer_->TakeBytes(); }

 private:
  std::unique_ptr<DS_IOF_W> MakeWriter() {
    auto writer = std::make_unique<DS_IOF_W>();
    writer_ = writer.get();
    return writer;
  }
  DS_IOF_W* writer_ = nullptr;
  DS_IOF_Archive archive_;
};

inline void ExpectMatrixNear(const D3DXMATRIX& got, const D3DXMATRIX& want) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_NEAR(got(i, j), want(i, j), 1e-5f) << i << "," << j;
}

inline D3DXMATRIX RotationZ(float radians) {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, radians);
  return m;
}
