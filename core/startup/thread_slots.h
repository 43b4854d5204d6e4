#pragma once

#include <memory>
#include <utility>

// Per-thread "current object" slots. A thread that never stored a value reads null. The objects
// are used on their own thread only and are not locked.

// A slot that points at an object owned elsewhere.
template <class T>
class ThreadSlot {
 public:
  static T* Get() noexcept { return current_; }
  static void Set(T* value) noexcept { current_ = value; }

 private:
  static inline thread_local T* current_ = nullptr;
};

// A slot that owns its object: installing a new one frees the one it replaces, and a thread's
// object is freed when the thread ends. T may be incomplete where the slot is only read.
template <class T>
class OwningThreadSlot {
 public:
  static T* Get() noexcept { return holder_.object; }

  // Frees the current object (the slot reads null meanwhile), then makes `object` current.
  static void Install(std::unique_ptr<T> object) {
    Reset();
    holder_.destroy = [](T* p) { delete p; };
    holder_.object = object.release();
  }

  // Frees the current object; the slot reads null.
  static void Reset() { holder_.Free(); }

 private:
  struct Holder {
    T* object = nullptr;
    void (*destroy)(T*) = nullptr;

    void Free() {
      if (T* old = std::exchange(object, nullptr)) destroy(old);
    }
    ~Holder() { Free(); }
  };
  static inline thread_local Holder holder_;
};

class RenderContext;
class ChronoClock;
class DS_DocResManager;

// The thread's current render context (set by the player for the main thread and by the scene
// root when it attaches one).
using RenderContextTlsSlot = ThreadSlot<RenderContext>;
// The clock of the thread's time-window controllers (set by the player for the main thread).
using ChronoTlsSlot = ThreadSlot<ChronoClock>;
// The thread's current document, owned through the slot: loading a project installs the new
// document, which frees the previous one.
using DocumentTlsSlot = OwningThreadSlot<DS_DocResManager>;
