#include "plugin/overlap_guard.h"

#include <algorithm>
#include <bit>
#include <new>

namespace unreal {

namespace {

constexpr int64_t kBlockSize = int64_t{1} << kOverlapBlockShift;

struct BlockRange {
  int64_t first;
  int64_t last;
};

BlockRange Touched(int64_t begin, int64_t end) {
  return {begin >> kOverlapBlockShift, (end - 1) >> kOverlapBlockShift};
}

}  // namespace

void OverlapGuard::BlockSet::Reset(int64_t blocks) {
  levels_.clear();
  int64_t bits = std::max<int64_t>(blocks, 1);
  do {
    const int64_t words = (bits + 63) >> 6;
    levels_.emplace_back(static_cast<size_t>(words), 0);
    bits = words;
  } while (bits > 1);
}

void OverlapGuard::BlockSet::Insert(int64_t block) {
  for (std::vector<uint64_t>& level : levels_) {
    level[static_cast<size_t>(block >> 6)] |= uint64_t{1} << (block & 63);
    block >>= 6;
  }
}

int64_t OverlapGuard::BlockSet::FirstFrom(int64_t block) const {
  // Up from the bottom until a word holds a bit at or after the place looked for...
  size_t level = 0;
  int64_t bit = block;
  for (;; ++level) {
    if (level == levels_.size()) return -1;
    const std::vector<uint64_t>& words = levels_[level];
    const auto word = static_cast<size_t>(bit >> 6);
    if (word >= words.size()) return -1;
    const uint64_t bits = words[word] & (~uint64_t{0} << (bit & 63));
    if (bits != 0) {
      bit = static_cast<int64_t>(word << 6) + std::countr_zero(bits);
      break;
    }
    bit = static_cast<int64_t>(word) + 1;
  }
  // ...then down through the first set bit of each word below it.
  while (level-- > 0)
    bit = (bit << 6) + std::countr_zero(levels_[level][static_cast<size_t>(bit)]);
  return bit;
}

OverlapGuard::OverlapGuard(int64_t available) : available_(std::max<int64_t>(available, 0)) {}

bool OverlapGuard::MayExamine(int64_t begin, int64_t end) const {
  if (end <= begin) return true;
  if (untracked_) return rejected_bytes_ + (end - begin) <= kMaxRejectionsPerBlock * available_;
  if (!tracking_) return true;
  const BlockRange range = Touched(begin, end);
  const int64_t full = full_.FirstFrom(range.first);
  return full < 0 || full > range.last;
}

void OverlapGuard::Rejected(int64_t begin, int64_t end) {
  if (end <= begin) return;
  if (!tracking_ && !untracked_) {
    const int64_t blocks = (available_ + kBlockSize - 1) >> kOverlapBlockShift;
    try {
      rejected_.assign(static_cast<size_t>(blocks), 0);
      full_.Reset(blocks);
      tracking_ = true;
    } catch (const std::bad_alloc&) {
      rejected_ = {};
      untracked_ = true;
    }
  }
  if (untracked_) {
    rejected_bytes_ += end - begin;
    return;
  }
  const BlockRange range = Touched(begin, end);
  const int64_t last = std::min<int64_t>(range.last, std::ssize(rejected_) - 1);
  for (int64_t block = range.first; block <= last; ++block) {
    uint8_t& count = rejected_[static_cast<size_t>(block)];
    if (count < kMaxRejectionsPerBlock && ++count == kMaxRejectionsPerBlock) full_.Insert(block);
  }
}

}  // namespace unreal
