#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <new>
#include <vector>

// A pool of small blocks for objects made and dropped by the hundred every frame: particles,
// their routines and the nodes of their lists. Blocks of one size are cut from 64 KiB chunks and
// handed out in address order: each allocation takes the first free block after the one given
// last, wrapping round to the first chunk. Objects made one after another so lie one after
// another, and when they die in the order they were born, their successors take their places in
// that order; a list walked in birth order then reads memory forwards, as the processor's
// prefetch expects, however long its objects have come and gone. A size grows by a chunk when
// at most an eighth of its blocks is free, which keeps the search for a free block short, and
// gives a chunk back once all its blocks are free while a quarter of the rest stays free.
// Blocks above kMaxBlock bytes come from operator new. Thread-safe.
class BlockPool {
 public:
  static constexpr size_t kGranule = 16;  // block sizes are multiples of it, as is alignment
  static constexpr size_t kMaxBlock = 1024;
  static constexpr size_t kChunkBytes = size_t{64} << 10;

  BlockPool() = default;
  // Gives back every chunk; the blocks must have been freed.
  ~BlockPool();
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;

  // A block of at least `bytes` bytes aligned to kGranule; throws std::bad_alloc.
  void* Allocate(size_t bytes);
  // A block from Allocate with the same byte count; null does nothing.
  void Free(void* block, size_t bytes) noexcept;

  // The chunks held for every size.
  size_t Chunks() const;

 private:
  struct Chunk;
  struct Size {
    std::vector<Chunk*> chunks;
    size_t cursorChunk = 0;  // where the search for a free block goes on
    size_t cursorWord = 0;
    size_t freeBlocks = 0;
    size_t blocks = 0;
  };

  static size_t SizeIndex(size_t bytes) {
    return bytes == 0 ? 1 : (bytes + kGranule - 1) / kGranule;
  }
  void Grow(Size& size, size_t index);
  void Release(Size& size, Chunk* chunk) noexcept;

  mutable std::mutex mutex_;
  std::array<Size, kMaxBlock / kGranule + 1> sizes_;
};

// The pool the particles of every scene share. Under AddressSanitizer these two go to operator
// new and delete instead, so that its checks see each particle as an allocation of its own.
void* PoolAllocate(size_t bytes);
void PoolFree(void* block, size_t bytes) noexcept;

// A standard allocator over PoolAllocate, for the nodes of lists of particles and routines.
template <class T>
struct PoolAllocator {
  static_assert(alignof(T) <= BlockPool::kGranule);
  using value_type = T;

  PoolAllocator() noexcept = default;
  template <class U>
  PoolAllocator(const PoolAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > std::numeric_limits<size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(PoolAllocate(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { PoolFree(p, n * sizeof(T)); }

  template <class U>
  bool operator==(const PoolAllocator<U>&) const noexcept {
    return true;
  }
};
