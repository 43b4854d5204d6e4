#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"

namespace smart_vector_detail {
// An insertion position inside [0, size]: a position past the end appends, a negative one
// inserts at the front.
inline size_t InsertPosition(int index, size_t size) {
  if (index < 0) return 0;
  return std::min(static_cast<size_t>(index), size);
}
}  // namespace smart_vector_detail

// A whole vector as one undoable value, with the index of the current element beside it. The
// index is not part of the value: undo restores the elements only.
template <class T>
class ZKW_SmartVector : public MediaParamT<std::vector<T>> {
 public:
  ZKW_SmartVector() = default;
  // Copies the elements (handles are shared) and the index into fresh parameters.
  ZKW_SmartVector(const ZKW_SmartVector& other) = default;
  ZKW_SmartVector& operator=(const ZKW_SmartVector&) = delete;

  // Inserts `element` before position `index` (kept inside [0, size]), makes it the current
  // element (the index's observers hear of it only when it changes, from no source), then tells
  // the vector's observers but `source`. Answers the position used.
  int Insert(int index, const T& element, MediaControl* source = nullptr) {
    const size_t pos = smart_vector_detail::InsertPosition(index, this->Value().size());
    this->RawValue().insert(this->RawValue().begin() + static_cast<std::ptrdiff_t>(pos), element);
    currentIndex.SetValue(static_cast<int>(pos));
    this->NotifyChanged(source);
    return static_cast<int>(pos);
  }

  MediaParamTB<int> currentIndex{-1};
};

// A vector of object handles (control points, node children, node effects). Destroying it
// releases every handle.
template <class P>
class ZKW_SmartVectorPtr : public ZKW_SmartVector<DS_SafePtr<P>> {
 public:
  ZKW_SmartVectorPtr() = default;
  ZKW_SmartVectorPtr(const ZKW_SmartVectorPtr& other) = default;
  ZKW_SmartVectorPtr& operator=(const ZKW_SmartVectorPtr&) = delete;
};

// The selected index and the elements as one undoable value, so that undo restores both.
template <class T>
class ZKW_SmartArray : public MediaParamT<std::pair<int, std::vector<T>>> {
 public:
  using Contents = std::pair<int, std::vector<T>>;

  ZKW_SmartArray() = default;
  explicit ZKW_SmartArray(const Contents& value) : MediaParamT<Contents>(value) {}
  ZKW_SmartArray(const ZKW_SmartArray& other) = default;
  ZKW_SmartArray& operator=(const ZKW_SmartArray&) = delete;

  // Inserts `element` before position `index` (kept inside [0, size]), selects it, then tells
  // the observers. Answers the position used.
  int Insert(int index, const T& element) {
    std::vector<T>& elements = this->RawValue().second;
    const size_t pos = smart_vector_detail::InsertPosition(index, elements.size());
    elements.insert(elements.begin() + static_cast<std::ptrdiff_t>(pos), element);
    this->RawValue().first = static_cast<int>(pos);
    this->NotifyChanged(nullptr);
    return static_cast<int>(pos);
  }
};

// A selected key (with undo) and one object per key: the physics choices of particle-tree nodes.
template <class K, class T>
class ZKW_T_CustomSelector : public MediaParamT<K> {
 public:
  ZKW_T_CustomSelector() = default;
  explicit ZKW_T_CustomSelector(const K& key) : MediaParamT<K>(key) {}

  // Selects `key` silently and makes its entry share `object` (the entry's old handle is
  // released). The caller notifies when observers are to hear of it.
  void Select(const K& key, const DS_SafePtr<T>& object) {
    this->SetValueSilently(key);
    objects[key] = object;
  }

  std::map<K, DS_SafePtr<T>> objects;
};

// Empties `values`, then reads a Dword count and that many Dwords. Nobody is told. A count that
// the remaining bytes cannot hold fails the stream and leaves the vector empty.
void ReadDwordVector(DS_IOF_Archive& archive, std::vector<uint32_t>& values);
