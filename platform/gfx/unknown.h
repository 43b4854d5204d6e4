#pragma once

#include <cstdint>
#include <utility>

// COM-style reference counting for device objects: a new object starts with one reference,
// AddRef and Release return the new count, and the last Release deletes the object. Callers that
// hold objects the way the scene code does use AddRef/Release directly; our own code holds them
// in ComPtr.
namespace gfx {

class Unknown {
 public:
  Unknown() = default;
  Unknown(const Unknown&) = delete;
  Unknown& operator=(const Unknown&) = delete;

  uint32_t AddRef() { return ++references_; }
  uint32_t Release() {
    const uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~Unknown() = default;

 private:
  uint32_t references_ = 1;
};

// An owning reference. Attach takes over a reference (the result of a Create call); Copy adds
// one.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  static ComPtr Attach(T* p) {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  static ComPtr Copy(T* p) {
    if (p) p->AddRef();
    return Attach(p);
  }

  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Gives up the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  // Releases what is held and returns the slot for an out-parameter.
  T** Put() {
    Reset();
    return &p_;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, const T* b) { return a.p_ == b; }

 private:
  T* p_ = nullptr;
};

}  // namespace gfx
