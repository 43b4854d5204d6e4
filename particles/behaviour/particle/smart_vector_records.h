#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/smart_vector.h"
#include "core/registry/read_by_name.h"

// The stored form of a node's child or effect list: a Dword count and every element's complete
// record (empty handles are not written).
template <class T>
void WriteSmartVector(DS_IOF_Archive& archive, const ZKW_SmartVectorPtr<T>& list) {
  uint32_t count = 0;
  for (const auto& handle : list.Value())
    if (handle) ++count;
  archive.io().WriteDword(count);
  for (const auto& handle : list.Value())
    if (handle) handle->Save(archive);
}

// A Dword count, then that many records read by class name through the particle-engine registry;
// each object that is a T is appended and selected (a count the remaining bytes cannot hold fails
// the stream). Records of an unknown class or of another class are dropped rather than kept as
// empty entries that every walk would have to step over; an unknown class fails the stream.
template <class T>
void ReadSmartVector(DS_IOF_Archive& archive, ZKW_SmartVectorPtr<T>& list) {
  std::vector<std::unique_ptr<ZKW_IOF_Item>> items;
  ReadListByName(archive, GetIofItemRegistry(), items);
  for (std::unique_ptr<ZKW_IOF_Item>& item : items) {
    T* typed = dynamic_cast<T*>(item.get());
    if (typed == nullptr) continue;
    item.release();
    list.Insert(INT_MAX, DS_SafePtr<T>(std::unique_ptr<T>(typed)));
  }
}
