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

// Bit i: the 4 bytes from p + i are the ue3 tag, for i in [0, 64); reads 67 bytes.
inline uint64_t TagBits64(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 0; i < 4; ++i) {
    __m128i match = _mm_set1_epi8(-1);
    for (int b = 0; b < 4; ++b) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + b));
      const __m128i tag_byte = _mm_set1_epi8(static_cast<char>(kUe3Tag >> (8 * b)));
      match = _mm_and_si128(match, _mm_cmpeq_epi8(v, tag_byte));
    }
    bits |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(match))) << (16 * i);
  }
  return bits;
}

// The ue4 and ue5 kinds a block may start from its zero runs; reads 128 bytes.
unsigned ZeroRunKinds(const uint8_t* p) {
  const u128 z = static_cast<u128>(ZeroBits64(p)) | static_cast<u128>(ZeroBits64(p + 64)) << 64;
  // Bit i of z8: the 8 bytes from i on are zero.
  u128 z8 = z & (z >> 1);
  z8 &= z8 >> 2;
  z8 &= z8 >> 4;
  const auto ue4 = static_cast<uint64_t>(z8 & ~(z8 >> 8));
  const auto ue5 = static_cast<uint64_t>(z8 & (z8 >> 8) & ~(z8 >> 16) & ~(z8 >> 24));
  return (ue4 != 0 ? KindBit(Candidate::kUe4Entry) : 0u) |
         (ue5 != 0 ? KindBit(Candidate::kUe5Stream) : 0u);
}

// A block holds a tag only where its first and last bytes both match; those few blocks are
// tested exactly while their bytes are at hand.
unsigned TagKinds(const uint8_t* p) {
  return TagBits64(p) != 0 ? KindBit(Candidate::kUe3Tag) : 0u;
}

// The kinds (KindBit) a 64-byte block may start, tested with 16-byte vectors; needs 128 readable
// bytes from p: the zero runs of the ue4 and ue5 tests look up to 32 bytes past the block's last
// position.
unsigned FastBlockKinds(const uint8_t* p) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i tag_first = _mm_set1_epi8(static_cast<char>(kUe3Tag & 0xFF));
  const __m128i tag_last = _mm_set1_epi8(static_cast<char>(kUe3Tag >> 24));
  __m128i v[4];
  for (int i = 0; i < 4; ++i)
    v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
  const __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, zero)) == 0xFFFF) {
    // An all-zero block holds no tag, and starts a ue4 or ue5 candidate only where a
    // non-zero byte follows within 32 bytes.
    const __m128i next = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 64)),
                                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 80)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(next, zero)) == 0xFFFF ? 0u : ZeroRunKinds(p);
  }
  __m128i tags = zero;
  __m128i zero_words = zero;
  for (int i = 0; i < 4; ++i) {
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + 3));
    tags = _mm_or_si128(
        tags, _mm_and_si128(_mm_cmpeq_epi8(v[i], tag_first), _mm_cmpeq_epi8(w, tag_last)));
    zero_words = _mm_or_si128(zero_words, _mm_cmpeq_epi32(v[i], zero));
  }
  unsigned kinds = _mm_movemask_epi8(tags) != 0 ? TagKinds(p) : 0u;
  // Eight zero bytes always hold a zero 32-bit word at a multiple of 4; for the block's last
  // positions that word may be the first of the next block.
  if (_mm_movemask_epi8(zero_words) != 0 || Load<uint32_t>(p, 64) == 0) kinds |= ZeroRunKinds(p);
  return kinds;
}

__attribute__((target("avx2"))) inline __m256i Load32(const uint8_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// FastBlockKinds with 32-byte vectors: the same tests, half the instructions.
__attribute__((target("avx2"))) inline unsigned FastBlockKindsAvx2(const uint8_t* p) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i tag_first = _mm256_set1_epi8(static_cast<char>(kUe3Tag & 0xFF));
  const __m256i tag_last = _mm256_set1_epi8(static_cast<char>(kUe3Tag >> 24));
  const __m256i v0 = Load32(p), v1 = Load32(p + 32);
  if (_mm256_testz_si256(_mm256_or_si256(v0, v1), _mm256_or_si256(v0, v1))) {
    const __m256i next = Load32(p + 64);
    return _mm256_testz_si256(next, next) ? 0u : ZeroRunKinds(p);
  }
  const __m256i tags =
      _mm256_or_si256(_mm256_and_si256(_mm256_cmpeq_epi8(v0, tag_first),
                                       _mm256_cmpeq_epi8(Load32(p + 3), tag_last)),
                      _mm256_and_si256(_mm256_cmpeq_epi8(v1, tag_first),
                                       _mm256_cmpeq_epi8(Load32(p + 35), tag_last)));
  const __m256i zero_words =
      _mm256_or_si256(_mm256_cmpeq_epi32(v0, zero), _mm256_cmpeq_epi32(v1, zero));
  unsigned kinds = _mm256_testz_si256(tags, tags) ? 0u : TagKinds(p);
  if (!_mm256_testz_si256(zero_words, zero_words) || Load<uint32_t>(p, 64) == 0)
    kinds |= ZeroRunKinds(p);
  return kinds;
}
#endif

}  // namespace

CandidateIndex::CandidateIndex(const uint8_t* data, int64_t size, Vectors vectors)
    : data_(data),
      size_(std::max<int64_t>(size, 0)),
      blocks_((size_ + kBlockSize - 1) >> kBlockShift),
      words_((blocks_ + 63) >> 6) {
  try {
    flags_ = std::make_unique_for_overwrite<uint64_t[]>(3 * static_cast<size_t>(words_));
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
  if (vectors == Vectors::kBest && __builtin_cpu_supports("avx2")) block = MarkWordsAvx2();
  // A block is tested fast while 128 bytes from its start can be read.
  for (; (block + 2) * kBlockSize <= size_; ++block) {
    StartBlock(block);
    MarkKinds(block, FastBlockKinds(data_ + block * kBlockSize));
  }
#endif
  // The last blocks (or every block without SSE2) are tested position by position.
  for (; block < blocks_; ++block) {
    StartBlock(block);
    MarkKinds(block, kAllKinds);
  }
}

#if defined(__SSE2__)
// Whole words of blocks, each block as FastBlockKinds tests it; the block it stopped at.
__attribute__((target("avx2"))) int64_t CandidateIndex::MarkWordsAvx2() {
  int64_t word = 0;
  // The word's last block has its 128 bytes.
  for (; (word * 64 + 65) * kBlockSize <= size_; ++word) {
    uint64_t marks[3] = {0, 0, 0};
    const uint8_t* p = data_ + word * 64 * kBlockSize;
    for (int i = 0; i < 64; ++i, p += kBlockSize) {
      const unsigned kinds = FastBlockKindsAvx2(p);
      if (kinds == 0) continue;
      for (size_t k = 0; k < 3; ++k)
        marks[k] |= static_cast<uint64_t>((kinds >> k) & 1) << i;
    }
    for (size_t k = 0; k < 3; ++k)
      Word(static_cast<Candidate>(k), word) = marks[k];
  }
  return word * 64;
}
#endif

uint64_t CandidateIndex::BlockMask(Candidate kind, int64_t block) {
  const auto k = static_cast<size_t>(kind);
  if (cached_block_[k] == block) return cached_mask_[k];
  uint64_t mask = 0;
  bool tested = false;
  const int64_t start = block * kBlockSize;
#if defined(__SSE2__)
  // Tags are compared 16 positions at a time where every position of the block has its 4 bytes.
  if (kind == Candidate::kUe3Tag && start + kBlockSize + 3 <= size_) {
    mask = TagBits64(data_ + start);
    tested = true;
  }
#endif
  for (int i = 0; !tested && i < kBlockSize; ++i) {
    if (IsCandidate(kind, data_, size_, start + i)) mask |= uint64_t{1} << i;
  }
  cached_block_[k] = block;
  cached_mask_[k] = mask;
  return mask;
}

int64_t CandidateIndex::Next(Candidate kind, int64_t from, int64_t limit) {
  from = std::max<int64_t>(from, 0);
  while (from < limit) {
    int64_t block = from >> kBlockShift;
    if (!every_block_) {
      int64_t word_index = block >> 6;
      if (word_index >= words_) return limit;
      uint64_t word = Word(kind, word_index) & (~uint64_t{0} << (block & 63));
      while (word == 0) {
        if (++word_index >= words_) return limit;
        word = Word(kind, word_index);
      }
      const int64_t marked = (word_index << 6) + std::countr_zero(word);
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
