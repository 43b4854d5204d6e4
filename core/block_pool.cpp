#include "core/block_pool.h"

#include <bit>

#if defined(__SANITIZE_ADDRESS__)
#define SCENE_POOL_BYPASS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCENE_POOL_BYPASS 1
#endif
#endif

// A chunk starts with this header and the bits of its free blocks (set: free); its blocks
// follow. Chunks are aligned to their size, so a block's chunk is its address rounded down.
struct BlockPool::Chunk {
  uint32_t sizeIndex;
  uint32_t index;  // in its size's chunk list
  uint32_t blocks;
  uint32_t freeBlocks;
  uint32_t words;  // of free bits
  uint32_t first;  // offset of the first block

  uint64_t* Bits() { return reinterpret_cast<uint64_t*>(this + 1); }
  char* Block(size_t i) { return reinterpret_cast<char*>(this) + first + i * sizeIndex * kGranule; }
  size_t IndexOf(const void* block) const {
    const auto offset =
        static_cast<size_t>(static_cast<const char*>(block) - reinterpret_cast<const char*>(this));
    return (offset - first) / (sizeIndex * kGranule);
  }
};

namespace {

constexpr std::align_val_t kChunkAlignment{BlockPool::kChunkBytes};

size_t RoundUp(size_t n, size_t to) {
  return (n + to - 1) / to * to;
}

}  // namespace

BlockPool::~BlockPool() {
  for (Size& size : sizes_)
    for (Chunk* chunk : size.chunks)
      ::operator delete(chunk, kChunkAlignment);
}

size_t BlockPool::Chunks() const {
  const std::lock_guard lock(mutex_);
  size_t chunks = 0;
  for (const Size& size : sizes_)
    chunks += size.chunks.size();
  return chunks;
}

void BlockPool::Grow(Size& size, size_t index) {
  const size_t blockBytes = index * kGranule;
  size_t blocks = (kChunkBytes - sizeof(Chunk)) / blockBytes;
  auto first = [](size_t n) { return RoundUp(sizeof(Chunk) + (n + 63) / 64 * 8, kGranule); };
  while (first(blocks) + blocks * blockBytes > kChunkBytes)
    --blocks;
  size.chunks.reserve(size.chunks.size() + 1);
  void* memory = ::operator new(kChunkBytes, kChunkAlignment);
  auto* chunk = new (memory) Chunk{static_cast<uint32_t>(index),
                                   static_cast<uint32_t>(size.chunks.size()),
                                   static_cast<uint32_t>(blocks),
                                   static_cast<uint32_t>(blocks),
                                   static_cast<uint32_t>((blocks + 63) / 64),
                                   static_cast<uint32_t>(first(blocks))};
  uint64_t* bits = chunk->Bits();
  for (size_t w = 0; w < chunk->words; ++w)
    bits[w] = ~uint64_t{0};
  if (blocks % 64 != 0) bits[chunk->words - 1] = (uint64_t{1} << (blocks % 64)) - 1;
  size.chunks.push_back(chunk);
  size.blocks += blocks;
  size.freeBlocks += blocks;
  // The new blocks are handed out first, in order.
  size.cursorChunk = chunk->index;
  size.cursorWord = 0;
}

void BlockPool::Release(Size& size, Chunk* chunk) noexcept {
  const size_t at = chunk->index, last = size.chunks.size() - 1;
  if (at != last) {
    size.chunks[at] = size.chunks[last];
    size.chunks[at]->index = static_cast<uint32_t>(at);
  }
  size.chunks.pop_back();
  if (size.cursorChunk == at) {
    size.cursorWord = 0;
  } else if (size.cursorChunk == last) {
    size.cursorChunk = at;
  }
  if (size.cursorChunk >= size.chunks.size()) size.cursorChunk = size.cursorWord = 0;
  size.blocks -= chunk->blocks;
  size.freeBlocks -= chunk->blocks;
  ::operator delete(chunk, kChunkAlignment);
}

void* BlockPool::Allocate(size_t bytes) {
  if (bytes > kMaxBlock) return ::operator new(bytes);
  const size_t index = SizeIndex(bytes);
  const std::lock_guard lock(mutex_);
  Size& size = sizes_[index];
  if (size.freeBlocks * 8 <= size.blocks) Grow(size, index);
  // Some block is free: the search ends within one round of the chunks.
  for (;;) {
    Chunk* chunk = size.chunks[size.cursorChunk];
    uint64_t* bits = chunk->Bits();
    for (; size.cursorWord < chunk->words; ++size.cursorWord) {
      const uint64_t word = bits[size.cursorWord];
      if (word == 0) continue;
      bits[size.cursorWord] = word & (word - 1);
      --chunk->freeBlocks;
      --size.freeBlocks;
      return chunk->Block(size.cursorWord * 64 + static_cast<size_t>(std::countr_zero(word)));
    }
    size.cursorWord = 0;
    size.cursorChunk = (size.cursorChunk + 1) % size.chunks.size();
  }
}

void BlockPool::Free(void* block, size_t bytes) noexcept {
  if (block == nullptr) return;
  if (bytes > kMaxBlock) {
    ::operator delete(block);
    return;
  }
  auto* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<uintptr_t>(block) & ~(kChunkBytes - 1));
  const std::lock_guard lock(mutex_);
  Size& size = sizes_[chunk->sizeIndex];
  const size_t i = chunk->IndexOf(block);
  chunk->Bits()[i / 64] |= uint64_t{1} << (i % 64);
  ++chunk->freeBlocks;
  ++size.freeBlocks;
  if (chunk->freeBlocks == chunk->blocks && size.chunks.size() > 1 &&
      (size.freeBlocks - chunk->blocks) * 4 >= size.blocks - chunk->blocks) {
    Release(size, chunk);
  }
}

namespace {

#if !defined(SCENE_POOL_BYPASS)
BlockPool& SharedPool() {
  // Never destroyed: static objects may release particles while the program ends.
  static BlockPool* const pool = new BlockPool;
  return *pool;
}
#endif

}  // namespace

void* PoolAllocate(size_t bytes) {
#if defined(SCENE_POOL_BYPASS)
  return ::operator new(bytes);
#else
  return SharedPool().Allocate(bytes);
#endif
}

void PoolFree(void* block, size_t bytes) noexcept {
#if defined(SCENE_POOL_BYPASS)
  (void)bytes;
  ::operator delete(block);
#else
  SharedPool().Free(block, bytes);
#endif
}
