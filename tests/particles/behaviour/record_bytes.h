#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/read_by_name.h"

namespace behaviour_test {

// What `write` stores.
inline std::vector<uint8_t> Bytes(const std::function<void(DS_IOF_Archive&)>& write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

inline std::vector<uint8_t> Saved(const DS_IOF_Item& item) {
  return Bytes([&](DS_IOF_Archive& a) { item.Save(a); });
}

// The object a record makes, as a T (null when it is none); `whole` tells whether the record was
// read to its end without failing.
template <class T>
std::unique_ptr<T> ReadAs(const std::vector<uint8_t>& bytes, bool* whole) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  *whole = !archive.Failed() && buffer.Remaining() == 0;
  T* typed = dynamic_cast<T*>(item.get());
  if (typed != nullptr) item.release();
  return std::unique_ptr<T>(typed);
}

// What `item` writes reads back, to its end, into an object of kind T that writes the same bytes.
template <class T>
void ExpectRoundTrip(const DS_IOF_Item& item) {
  const std::vector<uint8_t> bytes = Saved(item);
  bool whole = false;
  const auto read = ReadAs<T>(bytes, &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(Saved(*read), bytes);
}

}  // namespace behaviour_test
