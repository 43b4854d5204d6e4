#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/param/alist_media_param.h"
#include "core/param/undo_ctrl.h"

// The list kind over object handles, with its own undo control whose history holds whole handle
// vectors (so earlier items stay alive while an entry names them). Kinds add AddItem (with
// InsertAfterCurrent) and GetItemName. A change is an undo step only when the handle vector
// differs from the saved copy; after undo or redo a non-empty list whose current index is -1 or
// past the end selects its last item.
//
// Every operation checks its index against the list: an index outside it changes nothing.
template <class T>
class ListMediaParam_Impl : public AListMediaParam {
 public:
  using Items = std::vector<DS_SafePtr<T>>;
  using UndoList = UndoCtrlT<Items, ListMediaParam_Impl, true>;

  ListMediaParam_Impl() {
    AddControl(&undo_);
    undo_.OnParamChanged(nullptr);
  }
  ListMediaParam_Impl(const ListMediaParam_Impl&) = delete;
  ListMediaParam_Impl& operator=(const ListMediaParam_Impl&) = delete;

  const Items& Value() const { return items_; }
  // Direct store: no comparison, no notification.
  Items& RawValue() { return items_; }
  // When the items differ (by target, element by element), stores them and tells every control
  // but `source`. Answers whether they changed.
  bool SetValue(const Items& items, MediaControl* source = nullptr) {
    if (items_ == items) return false;
    items_ = items;
    NotifyChanged(source);
    if (source == &undo_ && !items_.empty() && (currentIndex < 0 || currentIndex >= GetCount()))
      currentIndex = GetCount() - 1;
    return true;
  }

  // Releases item `index` and closes the gap. Answers true.
  bool RemoveItem(int index) override {
    if (InList(index)) items_.erase(items_.begin() + index);
    return true;
  }
  int MoveItemUp(int index) override {
    if (!InList(index) || index == 0) return 0;
    std::swap(items_[index], items_[index - 1]);
    return 1;
  }
  int MoveItemDown(int index) override {
    if (!InList(index) || index + 1 >= GetCount()) return 0;
    std::swap(items_[index], items_[index + 1]);
    return 1;
  }
  int GetCount() const override { return static_cast<int>(items_.size()); }
  // Releases every item.
  void Clear() override { items_.clear(); }

  UndoList& UndoControl() { return undo_; }

 protected:
  // Inserts `item` after the current one. With a negative current index it goes to the end and
  // the current index becomes 0, which is announced at once; a current index past the end also
  // appends. Answers true.
  bool InsertAfterCurrent(DS_SafePtr<T> item) {
    if (currentIndex < 0) {
      items_.push_back(std::move(item));
      currentIndex = 0;
      NotifyChanged(nullptr);
      return true;
    }
    const size_t pos = std::min(static_cast<size_t>(currentIndex) + 1, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(item));
    return true;
  }

 private:
  bool InList(int index) const { return index >= 0 && index < GetCount(); }

  Items items_;
  UndoList undo_{this};
};
