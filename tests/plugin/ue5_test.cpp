// The ue5 scanner: stream framing and padding, its jumps of 2 and 17 bytes, and the key it needs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

constexpr int32_t kKey = TestHost::kFirstResourceId;

std::vector<Stream> Scan(const Bytes& bytes, bool key = true) {
  PluginLibrary plugin;
  TestHost host;
  Command command = {{u"ue5"}};
  if (key) command[0].params.push_back({u"k0x", u"0f0e0d0c"});
  EXPECT_EQ(host.Init(plugin, command), 1);
  GuardedBuffer input(bytes);
  return Streams(host.Scan(plugin, input));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts)
    Append(out, part);
  return out;
}

// Sets bytes [from, to) to non-zero values.
void Mark(Bytes& bytes, int64_t from, int64_t to) {
  for (int64_t i = from; i < to; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(0x31 + i % 7);
}

TEST(Ue5Scanner, FindsFramedStreams) {
  const Bytes one = Ue5Stream(10);
  EXPECT_EQ(Scan(Concat({Filler(9), one, Filler(40)})),
            std::vector<Stream>{AesStream(u"ue5", 25, 160, kKey)});
  // Several in a row; each ends at the next one's zero frame.
  const Bytes two = Ue5Stream(200);
  EXPECT_EQ(
      Scan(Concat({one, two, one, Filler(40)})),
      (std::vector<Stream>{AesStream(u"ue5", 16, 160, kKey),
                           AesStream(u"ue5", std::ssize(one) + 16, 3200, kKey),
                           AesStream(u"ue5", std::ssize(one) + std::ssize(two) + 16, 160, kKey)}));
  // Without the ue5 key nothing is reported.
  EXPECT_TRUE(Scan(Concat({one, two, one, Filler(40)}), false).empty());
}

TEST(Ue5Scanner, NeedsZeroPaddingUpToA2048ByteBoundary) {
  // A stream of exactly 2048 bytes: the next boundary is 2048 bytes after its end.
  const Bytes exact = Ue5Stream(128);
  ASSERT_EQ(exact.size(), 16u + 4096 + 16);
  EXPECT_EQ(Scan(Concat({exact, Filler(40)})),
            std::vector<Stream>{AesStream(u"ue5", 16, 2048, kKey)});
  Bytes early = exact;
  early.resize(16 + 2048 + 32);  // a non-zero group right after the 16 zero bytes
  Mark(early, 16 + 2048 + 16, 16 + 2048 + 32);
  EXPECT_TRUE(Scan(Concat({early, Filler(40)})).empty());
  // A non-zero byte inside the padding, off the boundary.
  Bytes spoiled = Ue5Stream(10);
  Mark(spoiled, 16 + 160 + 700, 16 + 160 + 701);
  EXPECT_TRUE(Scan(Concat({spoiled, Filler(40)})).empty());
  // A boundary group with one zero half does not end the padding: the next boundary may.
  Bytes half = Ue5Stream(10);
  half.resize(16 + 4096 + 16, 0);
  Mark(half, 16 + 2048 + 8, 16 + 2048 + 16);
  Mark(half, 16 + 4096, 16 + 4096 + 16);
  EXPECT_EQ(Scan(Concat({half, Filler(40)})),
            std::vector<Stream>{AesStream(u"ue5", 16, 160, kKey)});
  // The stream's length must be a multiple of 16.
  Bytes odd(16, 0);
  Append(odd, Filler(165));
  odd.resize(16 + 2048, 0);
  Append(odd, Filler(16));
  EXPECT_TRUE(Scan(Concat({odd, Filler(40)})).empty());
}

// A candidate at 0 that fails, and one at 1 that a scan moving on by one byte would report.
Bytes SkippedCandidate(bool abandon) {
  Bytes b(2200, 0);
  // Bytes 0..16 are zero and 17..47 not: candidates at 0 and at 1. Their end searches meet the
  // zero bytes from 48: the stream of 0 ends at 48, that of 1 at 49.
  Mark(b, 17, 48);
  // The boundary group of 1 (2065..2080) has both halves non-zero. That of 0 (2064..2079) has
  // a zero first half, and the group after it is not zero: 0's padding test fails.
  b[2072] = 1;
  b[2080] = 1;
  Mark(b, 2081, 2200);
  if (abandon) {
    // The Int32 at 32 is 0: the end search of 0 gives up at once.
    for (int i = 32; i < 36; ++i)
      b[i] = 0;
  }
  return b;
}

TEST(Ue5Scanner, MovesOnByTwoOrSeventeenAfterAFailedCandidate) {
  for (bool abandon : {true, false}) {
    Bytes input = SkippedCandidate(abandon);
    EXPECT_TRUE(Scan(input).empty()) << abandon;
    // Without the candidate at 0, the one at 1 is reported.
    input[0] = 1;
    EXPECT_EQ(Scan(input), std::vector<Stream>{AesStream(u"ue5", 17, 32, kKey)}) << abandon;
  }
}

TEST(Ue5Scanner, ReadsNothingPastTheAvailableBytes) {
  // The end search runs while q < available - 32 and the padding test while r < available - 16.
  const Bytes stream = Concat({Ue5Stream(10), Bytes{1}});
  const auto whole = std::ssize(stream);
  for (int64_t cut :
       {whole, whole - 1, whole - 17, int64_t{16 + 144 + 32}, int64_t{16 + 144 + 31}}) {
    const Bytes input(stream.begin(), stream.begin() + cut);
    EXPECT_EQ(Scan(input).size(), cut == whole ? 1u : 0u) << cut;
  }
}

}  // namespace
}  // namespace unreal_test
