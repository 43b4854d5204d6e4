#pragma once

#include <utility>

// Holds one reference to a reference-counted interface (a type with AddRef and Release).
// Copying adds a reference; destruction and Reset release it.
template <class T>
class ComRef {
 public:
  ComRef() noexcept = default;
  // Takes over one reference the caller already holds.
  explicit ComRef(T* adopted) noexcept : ptr_(adopted) {}
  ComRef(const ComRef& other) noexcept : ptr_(other.ptr_) {
    if (ptr_ != nullptr) ptr_->AddRef();
  }
  ComRef(ComRef&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComRef& operator=(ComRef other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComRef() { Reset(); }

  // Releases the held reference and takes over `adopted` (null by default).
  void Reset(T* adopted = nullptr) noexcept {
    T* old = std::exchange(ptr_, adopted);
    if (old != nullptr) old->Release();
  }

  T* Get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};
