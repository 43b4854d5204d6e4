#include "plugin/candidate_index.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

#include "plugin/le_bytes.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace unreal {

namespace {

using u128 = unsigned __int128;

#if defined(__SSE2__)
inline uint64_t ZeroBits64(const uint8_t* p) {
  const __m128i zero = _mm_setzero_si128();
  uint64_t bits = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    bits |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))))
            << (16 * i);
  }
  return bits;
}
#endif

}  // namespace

CandidateIndex::CandidateIndex(const uint8_t* data, int64_t size, Vectors vectors)
    : data_(data),
      size_(std::max<int64_t>(size, 0)),
      blocks_((size_ + kBlockSize - 1) >> kBlockShift) {
  try {
    for (auto& flags : flags_)
      flags.assign(static_cast<size_t>((blocks_ + 63) >> 6), 0);
    MarkBlocks(vectors);
  } catch (const std::bad_alloc&) {
    every_block_ = true;
  }
}

bool CandidateIndex::IsCandidate(Candidate kind, const uint8_t* data, int64_t size,
                                 int64_t position) {
  switch (kind) {
    case Candidate::kUe3Tag:
      return position + 4 <= size && Load<uint32_t>(data, position) == kUe3Tag;
    case Candidate::kUe4Entry: {
      if (position + 16 > size || Load<uint64_t>(data, position) != 0) return false;
      const int64_t stored = Load<int64_t>(data, position + 8);
      return stored >= 256 && stored <= std::numeric_limits<int32_t>::max();
    }
    case Candidate::kUe5Stream:
      return position + 32 <= size && Load<uint64_t>(data, position) == 0 &&
             Load<uint64_t>(data, position + 8) == 0 && Load<uint64_t>(data, position + 16) != 0 &&
             Load<uint64_t>(data, position + 24) != 0;
  }
  return false;
}

void CandidateIndex::MarkBlocks([[maybe_unused]] Vectors vectors) {
  int64_t block = 0;
#if defined(__SSE2__)
  if (vectors == Vectors::kBest && __builtin_cpu_supports("avx2")) block = MarkBlocksAvx2();
  // A block is tested fast while 128 bytes from its start can be read: the zero runs of the
  // ue4 and ue5 tests look up to 32 bytes past the block's last position.
  const __m128i zero = _mm_setzero_si128();
  const __m128i tag_first = _mm_set1_epi8(static_cast<char>(kUe3Tag & 0xFF));
  const __m128i tag_last = _mm_set1_epi8(static_cast<char>(kUe3Tag >> 24));
  for (; (block + 2) * kBlockSize <= size_; ++block) {
    const uint8_t* p = data_ + block * kBlockSize;
    __m128i v[4];
    for (int i = 0; i < 4; ++i)
      v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, zero)) == 0xFFFF) {
      // An all-zero block holds no tag, and starts a ue4 or ue5 candidate only where a
      // non-zero byte follows within 32 bytes.
      const __m128i next = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 64)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 80)));
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(next, zero)) != 0xFFFF) MarkZeroRuns(block);
      continue;
    }
    __m128i tags = zero;
    __m128i zero_words = zero;
    for (int i = 0; i < 4; ++i) {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + 3));
      tags = _mm_or_si128(
          tags, _mm_and_si128(_mm_cmpeq_epi8(v[i], tag_first), _mm_cmpeq_epi8(w, tag_last)));
      zero_words = _mm_or_si128(zero_words, _mm_cmpeq_epi32(v[i], zero));
    }
    // Eight zero bytes always hold a zero 32-bit word at a multiple of 4; for the block's last
    // positions that word may be the first of the next block.
    const bool any_zero_word =
        _mm_movemask_epi8(zero_words) != 0 || Load<uint32_t>(p, kBlockSize) == 0;
    if (_mm_movemask_epi8(tags) != 0) Mark(Candidate::kUe3Tag, block);
    if (any_zero_word) MarkZeroRuns(block);
  }
#endif
  // The last blocks (or every block without SSE2) are tested position by position.
  for (; block < blocks_; ++block) {
    Mark(Candidate::kUe3Tag, block);
    Mark(Candidate::kUe4Entry, block);
    Mark(Candidate::kUe5Stream, block);
  }
}

#if defined(__SSE2__)
namespace {
__attribute__((target("avx2"))) inline __m256i Load32(const uint8_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
}  // namespace

// The loop of MarkBlocks with 32-byte vectors: the same tests, half the instructions per block.
__attribute__((target("avx2"))) int64_t CandidateIndex::MarkBlocksAvx2() {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i tag_first = _mm256_set1_epi8(static_cast<char>(kUe3Tag & 0xFF));
  const __m256i tag_last = _mm256_set1_epi8(static_cast<char>(kUe3Tag >> 24));
  int64_t block = 0;
  for (; (block + 2) * kBlockSize <= size_; ++block) {
    const uint8_t* p = data_ + block * kBlockSize;
    const __m256i v0 = Load32(p), v1 = Load32(p + 32);
    if (_mm256_testz_si256(_mm256_or_si256(v0, v1), _mm256_or_si256(v0, v1))) {
      const __m256i next = Load32(p + 64);
      if (!_mm256_testz_si256(next, next)) MarkZeroRuns(block);
      continue;
    }
    const __m256i tags =
        _mm256_or_si256(_mm256_and_si256(_mm256_cmpeq_epi8(v0, tag_first),
                                         _mm256_cmpeq_epi8(Load32(p + 3), tag_last)),
                        _mm256_and_si256(_mm256_cmpeq_epi8(v1, tag_first),
                                         _mm256_cmpeq_epi8(Load32(p + 35), tag_last)));
    const __m256i zero_words =
        _mm256_or_si256(_mm256_cmpeq_epi32(v0, zero), _mm256_cmpeq_epi32(v1, zero));
    if (!_mm256_testz_si256(tags, tags)) Mark(Candidate::kUe3Tag, block);
    if (!_mm256_testz_si256(zero_words, zero_words) || Load<uint32_t>(p, kBlockSize) == 0)
      MarkZeroRuns(block);
  }
  return block;
}

void CandidateIndex::MarkZeroRuns(int64_t block) {
  const uint8_t* p = data_ + block * kBlockSize;
  const u128 z = static_cast<u128>(ZeroBits64(p)) | static_cast<u128>(ZeroBits64(p + 64)) << 64;
  // Bit i of z8: the 8 bytes from i on are zero.
  u128 z8 = z & (z >> 1);
  z8 &= z8 >> 2;
  z8 &= z8 >> 4;
  const auto ue4 = static_cast<uint64_t>(z8 & ~(z8 >> 8));
  const auto ue5 = static_cast<uint64_t>(z8 & (z8 >> 8) & ~(z8 >> 16) & ~(z8 >> 24));
  if (ue4 != 0) Mark(Candidate::kUe4Entry, block);
  if (ue5 != 0) Mark(Candidate::kUe5Stream, block);
}
#endif

uint64_t CandidateIndex::BlockMask(Candidate kind, int64_t block) {
  const auto k = static_cast<size_t>(kind);
  if (cached_block_[k] == block) return cached_mask_[k];
  uint64_t mask = 0;
  const int64_t start = block * kBlockSize;
  for (int i = 0; i < kBlockSize; ++i) {
    if (IsCandidate(kind, data_, size_, start + i)) mask |= uint64_t{1} << i;
  }
  cached_block_[k] = block;
  cached_mask_[k] = mask;
  return mask;
}

int64_t CandidateIndex::Next(Candidate kind, int64_t from, int64_t limit) {
  from = std::max<int64_t>(from, 0);
  const auto& flags = flags_[static_cast<size_t>(kind)];
  while (from < limit) {
    int64_t block = from >> kBlockShift;
    if (!every_block_) {
      auto word_index = static_cast<size_t>(block >> 6);
      if (word_index >= flags.size()) return limit;
      uint64_t word = flags[word_index] & (~uint64_t{0} << (block & 63));
      while (word == 0) {
        if (++word_index >= flags.size()) return limit;
        word = flags[word_index];
      }
      const int64_t marked = static_cast<int64_t>(word_index << 6) + std::countr_zero(word);
      if (marked > block) {
        block = marked;
        from = block * kBlockSize;
        if (from >= limit) return limit;
      }
    }
    const uint64_t mask = BlockMask(kind, block) & (~uint64_t{0} << (from - block * kBlockSize));
    if (mask != 0) return std::min(block * kBlockSize + std::countr_zero(mask), limit);
    from = (block + 1) * kBlockSize;
  }
  return limit;
}

}  // namespace unreal
