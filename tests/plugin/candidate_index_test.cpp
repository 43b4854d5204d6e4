// The fast candidate enumeration finds exactly the positions that pass the exact tests, on
// inputs dense with zero runs and near-tags, across block edges and the input's last bytes.

#include "plugin/candidate_index.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fixtures.h"

namespace unreal_test {
namespace {

using unreal::Candidate;
using unreal::CandidateIndex;

std::vector<int64_t> Enumerated(CandidateIndex& index, Candidate kind, int64_t limit,
                                int64_t step) {
  std::vector<int64_t> found;
  for (int64_t p = index.Next(kind, 0, limit); p < limit; p = index.Next(kind, p + step, limit)) {
    found.push_back(p);
  }
  return found;
}

TEST(CandidateIndex, FindsExactlyThePositionsThatPass) {
  std::mt19937 rng(99);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const uint8_t tag[] = {0xC1, 0x83, 0x2A, 0x9E};
  for (int round = 0; round < 600; ++round) {
    // Every fifth input is long enough for whole words of 64 blocks to be marked at once.
    const int length = round % 10 >= 8 ? pick(4000, 20000) : pick(0, 1500);
    Bytes bytes(static_cast<size_t>(length), 0);
    const bool sparse = round % 2 == 0;
    const int density = pick(2, 60);
    for (uint8_t& b : bytes) {
      if (!sparse) {
        b = static_cast<uint8_t>(pick(1, 255));
      } else if (pick(1, density) == 1) {
        b = static_cast<uint8_t>(pick(0, 1) ? pick(1, 3) : pick(1, 255));
      }
    }
    // Tags, partial tags, and the zero framing of the other two kinds at random places.
    const int patterns = (sparse ? pick(0, 10) : pick(0, 40)) * (length / 1500 + 1);
    for (int n = 0; n < patterns && !bytes.empty(); ++n) {
      Bytes piece;
      switch (pick(0, 2)) {
        case 0:
          piece.assign(tag, tag + 4);
          if (pick(0, 3) == 0) piece[static_cast<size_t>(pick(0, 3))] ^= 1;
          break;
        case 1:
          piece.assign(8, 0);
          Append<int64_t>(piece, pick(0, 1) ? pick(200, 70000) : (int64_t{1} << pick(8, 40)));
          break;
        default:
          piece.assign(static_cast<size_t>(pick(14, 18)), 0);
          Append(piece, Filler(pick(0, 16)));
          break;
      }
      const size_t at = static_cast<size_t>(pick(0, static_cast<int>(bytes.size()) - 1));
      for (size_t k = 0; k < piece.size() && at + k < bytes.size(); ++k)
        bytes[at + k] = piece[k];
    }
    const auto size = std::ssize(bytes);
    // Each round runs with the widest vectors and with 16-byte ones.
    CandidateIndex index(
        bytes.data(), size,
        round % 4 < 2 ? CandidateIndex::Vectors::kBest : CandidateIndex::Vectors::kSse2);
    for (Candidate kind : {Candidate::kUe3Tag, Candidate::kUe4Entry, Candidate::kUe5Stream}) {
      const int64_t limit = std::max<int64_t>(0, size - pick(0, 40));
      std::vector<int64_t> expected;
      for (int64_t p = 0; p < limit; ++p) {
        if (CandidateIndex::IsCandidate(kind, bytes.data(), size, p)) expected.push_back(p);
      }
      ASSERT_EQ(Enumerated(index, kind, limit, 1), expected)
          << "round " << round << " kind " << static_cast<int>(kind) << " size " << size;
      // Scanners also jump ahead; every candidate at or after the jump is still found.
      std::vector<int64_t> jumped;
      for (int64_t p : expected) {
        if (jumped.empty() || p >= jumped.back() + 7) jumped.push_back(p);
      }
      ASSERT_EQ(Enumerated(index, kind, limit, 7), jumped) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace unreal_test
