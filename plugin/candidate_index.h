#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace unreal {

// What a scanner's candidate test needs at a position before it reads anything further:
// the ue3 tag, the ue4 record start (8 zero bytes, then a stored size in [256, Int32 max]), or
// the ue5 frame (16 zero bytes, then two non-zero 64-bit values).
enum class Candidate { kUe3Tag = 0, kUe4Entry = 1, kUe5Stream = 2 };

// A set of kinds: bit k for kind k.
constexpr unsigned KindBit(Candidate kind) {
  return 1u << static_cast<unsigned>(kind);
}
inline constexpr unsigned kAllKinds = 7;

inline constexpr uint32_t kUe3Tag = 0x9E2A83C1;

// Finds candidate positions fast. One pass over the input marks, per 64-byte block, whether
// the block may hold a candidate of each kind; Next then tests positions exactly, and only in
// marked blocks. Every position it skips fails the exact test, so a scanner that moves one byte
// on at every failed candidate sees the same results as a byte-by-byte walk.
class CandidateIndex {
 public:
  // The widest vectors the processor has, or 16-byte ones only (tests compare the two).
  enum class Vectors { kBest, kSse2 };

  CandidateIndex(const uint8_t* data, int64_t size, Vectors vectors = Vectors::kBest);

  // The first position in [from, limit) that passes the kind's exact test, or limit.
  int64_t Next(Candidate kind, int64_t from, int64_t limit);

  static bool IsCandidate(Candidate kind, const uint8_t* data, int64_t size, int64_t position);

 private:
  static constexpr int kBlockShift = 6;
  static constexpr int64_t kBlockSize = int64_t{1} << kBlockShift;

  void MarkBlocks(Vectors vectors);
  // The marking with 32-byte vectors, whole words of blocks from the first while the word's
  // last block has its 128 readable bytes; the block it stopped at.
  int64_t MarkWordsAvx2();
  void MarkKinds(int64_t block, unsigned kinds) {
    for (size_t k = 0; k < 3; ++k)
      if ((kinds >> k) & 1) Mark(static_cast<Candidate>(k), block);
  }
  // Each word of marks is cleared when the marking reaches its first block, so the table is
  // written once and never cleared ahead.
  void StartBlock(int64_t block) {
    if ((block & 63) != 0) return;
    for (size_t k = 0; k < 3; ++k)
      Word(static_cast<Candidate>(k), block >> 6) = 0;
  }
  void Mark(Candidate kind, int64_t block) {
    Word(kind, block >> 6) |= uint64_t{1} << (block & 63);
  }
  uint64_t& Word(Candidate kind, int64_t word) {
    return flags_[static_cast<size_t>(kind) * static_cast<size_t>(words_) +
                  static_cast<size_t>(word)];
  }
  uint64_t BlockMask(Candidate kind, int64_t block);

  const uint8_t* data_;
  int64_t size_;
  int64_t blocks_;
  int64_t words_;                      // words of marks per kind, one bit per block
  bool every_block_ = false;           // no marks could be made: test every position
  std::unique_ptr<uint64_t[]> flags_;  // the kinds' words one after another
  std::array<int64_t, 3> cached_block_ = {-1, -1, -1};
  std::array<uint64_t, 3> cached_mask_ = {0, 0, 0};
};

}  // namespace unreal
