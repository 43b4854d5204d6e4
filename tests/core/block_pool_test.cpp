#include "core/block_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <random>
#include <vector>

namespace {

uintptr_t Address(const void* p) {
  return reinterpret_cast<uintptr_t>(p);
}

// Blocks of one size, each filled with its own number so that overlaps show.
struct Blocks {
  explicit Blocks(BlockPool& pool, size_t bytes) : pool(pool), bytes(bytes) {}
  ~Blocks() {
    while (!live.empty())
      Drop();
  }
  void Make() {
    auto* p = static_cast<uint8_t*>(pool.Allocate(bytes));
    std::memset(p, static_cast<int>(next & 0xFF), bytes);
    live.push_back({p, static_cast<uint8_t>(next++)});
  }
  void Drop() {
    pool.Free(live.front().p, bytes);
    live.pop_front();
  }
  bool Intact() const {
    for (const auto& [p, mark] : live)
      for (size_t i = 0; i < bytes; ++i)
        if (p[i] != mark) return false;
    return true;
  }
  // How often a block lies below the one made before it.
  int StepsBack() const {
    int back = 0;
    for (size_t i = 1; i < live.size(); ++i)
      back += Address(live[i].p) < Address(live[i - 1].p);
    return back;
  }

  BlockPool& pool;
  size_t bytes;
  struct Live {
    uint8_t* p;
    uint8_t mark;
  };
  std::deque<Live> live;
  size_t next = 0;
};

TEST(BlockPool, BlocksAreAlignedDistinctAndInAddressOrder) {
  for (size_t bytes : {size_t{1}, size_t{24}, size_t{48}, size_t{280}, BlockPool::kMaxBlock}) {
    BlockPool pool;
    Blocks blocks(pool, bytes);
    for (int i = 0; i < 500; ++i)
      blocks.Make();
    for (const auto& block : blocks.live)
      EXPECT_EQ(Address(block.p) % BlockPool::kGranule, 0u) << bytes;
    EXPECT_TRUE(blocks.Intact()) << bytes;
    // Backwards only from one chunk to the next.
    EXPECT_LT(size_t(blocks.StepsBack()), pool.Chunks()) << bytes;
  }
}

// Blocks dying in the order they were made leave their places to the next ones in that order,
// however long that goes on: the live blocks in birth order stay a few runs forwards in memory.
// Lifetimes that differ mix the order, but blocks are still reused rather than added.
TEST(BlockPool, ChurnKeepsBirthOrderAndReusesBlocks) {
  BlockPool pool;
  Blocks fifo(pool, 288);
  for (int i = 0; i < 3000; ++i)
    fifo.Make();
  const size_t chunks = pool.Chunks();
  for (int frame = 0; frame < 300; ++frame) {
    for (int i = 0; i < 50; ++i)
      fifo.Drop();
    for (int i = 0; i < 50; ++i)
      fifo.Make();
  }
  EXPECT_TRUE(fifo.Intact());
  EXPECT_EQ(pool.Chunks(), chunks) << "a steady count adds no chunk";
  EXPECT_LE(size_t(fifo.StepsBack()), chunks);

  Blocks mixed(pool, 48);
  for (int i = 0; i < 4000; ++i)
    mixed.Make();
  const size_t before = pool.Chunks();
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    for (int i = 0; i < 40; ++i) {
      const auto at = mixed.live.begin() +
                      std::uniform_int_distribution<long>(0, long(mixed.live.size()) - 1)(rng);
      pool.Free(at->p, 48);
      mixed.live.erase(at);
    }
    for (int i = 0; i < 40; ++i)
      mixed.Make();
  }
  EXPECT_TRUE(mixed.Intact());
  EXPECT_TRUE(fifo.Intact());
  EXPECT_EQ(pool.Chunks(), before);
}

TEST(BlockPool, FreeChunksAreGivenBackAndLargeBlocksPassThrough) {
  BlockPool pool;
  {
    Blocks blocks(pool, 64);
    for (int i = 0; i < 10000; ++i)
      blocks.Make();
    EXPECT_GE(pool.Chunks(), 10u);
  }
  EXPECT_EQ(pool.Chunks(), 1u) << "the last chunk of a size stays";

  void* large = pool.Allocate(BlockPool::kMaxBlock + 1);
  std::memset(large, 1, BlockPool::kMaxBlock + 1);
  pool.Free(large, BlockPool::kMaxBlock + 1);
  pool.Free(nullptr, 16);
  EXPECT_EQ(pool.Chunks(), 1u);
}

TEST(BlockPool, ListsOnTheSharedPool) {
  std::vector<int, PoolAllocator<int>> numbers;
  for (int i = 0; i < 100; ++i)
    numbers.push_back(i);
  std::vector<int, PoolAllocator<int>> copy = numbers;
  EXPECT_EQ(copy, numbers);
  EXPECT_TRUE(PoolAllocator<int>() == PoolAllocator<double>());
}

}  // namespace
