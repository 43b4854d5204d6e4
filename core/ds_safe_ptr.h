#pragma once

#include <memory>
#include <new>
#include <utility>

#include "core/block_pool.h"

// A shared handle: one pointer to a holder {target, count}. Copying a handle adds one to the
// count; the last release deletes the target and the holder. Counts are plain integers: a handle
// and its copies belong to one thread.
//
// A default handle is null (no holder). Two handles are equal when they name the same target,
// whether or not they share a holder; all empty handles are equal.
//
// The holder remembers how to delete its target and itself, so a handle to a type that is only
// declared can be copied, released and destroyed where that type is incomplete.
template <class T>
class DS_SafePtr {
 public:
  DS_SafePtr() noexcept = default;
  // A holder with count 1 for a new object (which may be null: an empty holder).
  explicit DS_SafePtr(std::unique_ptr<T> object)
      : holder_(new Holder{object.get(), 1, [](Holder* holder) {
                             delete holder->target;
                             delete holder;
                           }}) {
    object.release();
  }
  // A new U (T or a kind of T) made from `args`, in one block of the particle pool together
  // with its holder: for objects made by the hundred every frame.
  template <class U, class... Args>
  static DS_SafePtr MakePooled(Args&&... args) {
    static_assert(alignof(U) <= BlockPool::kGranule);
    static constexpr size_t kOffset = (sizeof(Holder) + alignof(U) - 1) / alignof(U) * alignof(U);
    static constexpr size_t kBytes = kOffset + sizeof(U);
    void* block = PoolAllocate(kBytes);
    U* object = nullptr;
    try {
      object = new (static_cast<char*>(block) + kOffset) U(std::forward<Args>(args)...);
    } catch (...) {
      PoolFree(block, kBytes);
      throw;
    }
    DS_SafePtr handle;
    handle.holder_ = new (block) Holder{object, 1, [](Holder* holder) {
                                          std::destroy_at(static_cast<U*>(holder->target));
                                          std::destroy_at(holder);
                                          PoolFree(holder, kBytes);
                                        }};
    return handle;
  }
  DS_SafePtr(const DS_SafePtr& other) noexcept : holder_(other.holder_) {
    if (holder_ != nullptr) ++holder_->count;
  }
  DS_SafePtr(DS_SafePtr&& other) noexcept : holder_(std::exchange(other.holder_, nullptr)) {}
  // Shares the other's holder and releases the old one; assigning a handle to itself does
  // nothing. The other's holder is taken first, so releasing the old target cannot free it.
  DS_SafePtr& operator=(const DS_SafePtr& other) {
    if (this != &other) DS_SafePtr(other).swap(*this);
    return *this;
  }
  DS_SafePtr& operator=(DS_SafePtr&& other) noexcept {
    if (this != &other) DS_SafePtr(std::move(other)).swap(*this);
    return *this;
  }
  ~DS_SafePtr() { Release(); }

  // Drops this handle's share: at a count below 1 the target is deleted and the holder freed.
  // The handle becomes null in every case.
  void Release() {
    Holder* holder = std::exchange(holder_, nullptr);
    if (holder == nullptr || --holder->count >= 1) return;
    holder->release(holder);
  }

  void swap(DS_SafePtr& other) noexcept { std::swap(holder_, other.holder_); }
  friend void swap(DS_SafePtr& a, DS_SafePtr& b) noexcept { a.swap(b); }

  T* Get() const { return holder_ != nullptr ? holder_->target : nullptr; }
  T* operator->() const { return Get(); }
  T& operator*() const { return *Get(); }
  explicit operator bool() const { return Get() != nullptr; }
  // Handles sharing this holder (0 for a null handle).
  int Count() const { return holder_ != nullptr ? holder_->count : 0; }

  friend bool operator==(const DS_SafePtr& a, const DS_SafePtr& b) { return a.Get() == b.Get(); }

 private:
  struct Holder {
    T* target;
    int count;
    void (*release)(Holder*);  // deletes the target and the holder
  };
  Holder* holder_ = nullptr;
};
