#pragma once

#include <cstdint>
#include <vector>

namespace unreal {

// A block may lie under this many rejected candidates before candidates touching it are no
// longer examined.
inline constexpr int kMaxRejectionsPerBlock = 4;
inline constexpr int kOverlapBlockShift = 6;  // 64-byte blocks

// Bounds the work a scan spends on candidate entries that overlap. Each ue4 candidate claims a
// run of the input (its record with its block table, then its data) that costs as much to check
// as it is long: the table is walked and the data hashed by the host. Candidates may overlap
// without end: records 64 bytes apart, each claiming the rest of a 1 MiB input, would have the
// host hash 8 GiB. So the input is cut into 64-byte blocks; a candidate rejected after that work
// counts on every block of its run, and a candidate whose run touches a block that has reached
// kMaxRejectionsPerBlock is no match without being examined. Accepted entries never overlap (the
// scan moves past each one), so a scan hashes at most (kMaxRejectionsPerBlock + 1) times the
// input's size, rounded up to whole blocks, and walks tables no longer than that. The entries
// of real archives lie one after another and are found as before; only an entry whose bytes
// several rejected candidates claimed as well can go unexamined.
class OverlapGuard {
 public:
  explicit OverlapGuard(int64_t available);

  // True when the candidate claiming [begin, end) may be examined.
  bool MayExamine(int64_t begin, int64_t end) const;
  // Counts a candidate claiming [begin, end) that was examined and rejected.
  void Rejected(int64_t begin, int64_t end);

 private:
  // A set of blocks that finds its first member at or after a block in a few steps: one bit per
  // block, and above it levels with one bit per non-zero word of the level below.
  class BlockSet {
   public:
    void Reset(int64_t blocks);
    void Insert(int64_t block);
    // The first member at or after block, or -1.
    int64_t FirstFrom(int64_t block) const;

   private:
    std::vector<std::vector<uint64_t>> levels_;
  };

  int64_t available_;
  bool tracking_ = false;          // the counts below exist: made at the first rejection
  std::vector<uint8_t> rejected_;  // per block: rejected candidates whose run touched it
  BlockSet full_;                  // blocks whose count reached the limit
  // Without memory for the counts, rejected runs share one budget over the whole input.
  bool untracked_ = false;
  int64_t rejected_bytes_ = 0;
};

}  // namespace unreal
