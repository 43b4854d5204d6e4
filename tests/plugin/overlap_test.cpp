// Overlapping ue4 candidates on hostile input: the host, hashing with real SHA-1, is asked to
// hash a bounded multiple of the input however many candidates claim its bytes, and the entries
// that follow are still found.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

constexpr int32_t kKey = TestHost::kFirstResourceId;

struct Scanned {
  std::vector<Stream> streams;
  int64_t hashed = 0;
};

Scanned Scan(const Bytes& bytes) {
  PluginLibrary plugin;
  TestHost host;
  EXPECT_EQ(host.Init(plugin, {{u"ue4", {{u"", u"zlib"}, {u"k0x", u"00112233"}}}}), 1);
  GuardedBuffer input(bytes);
  const std::vector<Event> events = host.Scan(plugin, input);
  Scanned scanned{Streams(events)};
  for (const Event& e : events) {
    if (e.kind == Event::Kind::kHash) scanned.hashed += e.stored;
  }
  return scanned;
}

// Entries of each kind the scan reports, one after another as an archive holds them, placed at
// `at`, and the streams they give.
Bytes GoodEntries(int64_t at, std::vector<Stream>& streams) {
  const Ue4Entry stored{.method = 0, .stored = 700, .decoded = 700, .flags = 1};
  const Ue4Entry blocks{
      .stored = 2000, .decoded = 5000, .blocks = {1000, 1000}, .block_size = 4096};
  const Ue4Entry encrypted = EncryptedTwoBlockEntry();
  Bytes out;
  Append(out, stored.Build());
  streams.push_back(AesStream(u"ue4", at + stored.RecordLength(), 700, kKey));
  at += std::ssize(out);
  Append(out, blocks.Build());
  streams.push_back(MethodStream(u"zlib", at + blocks.RecordLength(), 1000, 4096));
  streams.push_back(MethodStream(u"zlib", at + blocks.RecordLength() + 1000, 1000, 904));
  at += blocks.RecordLength() + blocks.stored;
  Append(out, encrypted.Build());
  streams.push_back(AesStream(u"ue4", at + encrypted.RecordLength(), 2016, kKey,
                              {{0, 1000, 4096, u"zlib"}, {1008, 1008, 3904, u"zlib"}}));
  return out;
}

TEST(OverlappingEntries, HashAtMostFiveTimesTheInput) {
  constexpr int64_t kRun = int64_t{1} << 20;
  struct Case {
    const char* what;
    Bytes run;
  };
  // Unbounded, these would have the host hash 8 GiB, 455 MiB and 16 GiB, and the last would
  // walk some 16000 tables of 32768 blocks.
  for (const Case& c :
       {Case{"stored encrypted every 64 bytes", OverlappingUe4Records(kRun, 64, 0)},
        Case{"64 compressed blocks every 1152 bytes", OverlappingUe4Records(kRun, 1152, 64)},
        Case{"32768 empty blocks every 64 bytes", OverlappingUe4Tables(2 * kRun)}}) {
    Bytes bytes = c.run;
    const int64_t run = std::ssize(c.run);
    std::vector<Stream> expected;
    Append(bytes, GoodEntries(run, expected));
    Append(bytes, Filler(100));
    const Scanned scanned = Scan(bytes);
    EXPECT_LE(scanned.hashed, 5 * std::ssize(bytes)) << c.what;
    // The hostile records are examined at all: the bound is reached, not dodged.
    EXPECT_GE(scanned.hashed, run) << c.what;
    EXPECT_EQ(scanned.streams, expected) << c.what;
  }
}

TEST(OverlappingEntries, AnEntryUnderFourRejectedOnesIsNotExamined) {
  const Ue4Entry entry{.method = 0, .stored = 600, .decoded = 600, .flags = 1};
  const Bytes good = entry.Build();
  for (int rejected : {0, 3, 4}) {
    // Records 64 bytes apart whose data, with wrong hashes, reach over the whole entry.
    const int64_t at = 64 * rejected;
    Bytes bytes = OverlappingUe4Records(at + std::ssize(good), 64, 0);
    std::copy(good.begin(), good.end(), bytes.begin() + at);
    Append(bytes, Filler(100));
    const std::vector<Stream> found = {AesStream(u"ue4", at + entry.RecordLength(), 600, kKey)};
    EXPECT_EQ(Scan(bytes).streams, rejected < 4 ? found : std::vector<Stream>{}) << rejected;
  }
}

}  // namespace
}  // namespace unreal_test
