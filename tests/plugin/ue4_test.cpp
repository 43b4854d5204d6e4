// The ue4 scanner: both record layouts, the trailer's two orders, the block count and the hash,
// encrypted entries with their nested blocks, and the guards on sizes, block sizes and tables.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

constexpr int32_t kKey = TestHost::kFirstResourceId;
constexpr int64_t kAt = 13;  // every entry follows this many filler bytes

struct Case {
  std::string what;
  Ue4Entry entry;
  std::vector<Stream> expected;
  bool key = true;
  std::u16string method = u"zlib";
};

Bytes Input(const Ue4Entry& entry) {
  Bytes bytes = Filler(kAt);
  Append(bytes, entry.Build());
  Append(bytes, Filler(31));
  return bytes;
}

std::vector<Stream> Scan(const Bytes& bytes, bool key, const std::u16string& method,
                         int64_t size = -1, bool hash_fails = false) {
  PluginLibrary plugin;
  TestHost host;
  Command command = {{u"ue4", {{u"", method}}}};
  if (key) command[0].params.push_back({u"k0x", u"00112233"});
  EXPECT_EQ(host.Init(plugin, command), 1);
  host.hash_fails = hash_fails;
  GuardedBuffer input(bytes);
  return Streams(host.Scan(plugin, input, size < 0 ? input.size() : size));
}

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases)
    EXPECT_EQ(Scan(Input(c.entry), c.key, c.method), c.expected) << c.what;
}

int64_t Start(const Ue4Entry& e) {
  return kAt + e.RecordLength();
}

TEST(Ue4Scanner, ReportsBlocksOrEncryptedEntries) {
  const Ue4Entry wide{.stored = 2000, .decoded = 5000, .blocks = {1000, 1000}, .block_size = 4096};
  Ue4Entry narrow = wide;
  narrow.narrow = true;
  Ue4Entry trailer_last = wide;
  trailer_last.flags_first = false;
  const Ue4Entry encrypted = EncryptedTwoBlockEntry();
  const Ue4Entry stored_only{.method = 0, .stored = 700, .decoded = 700, .flags = 0};
  Ue4Entry stored_encrypted = stored_only;
  stored_encrypted.flags = 1;
  RunCases({
      {"wide",
       wide,
       {MethodStream(u"zlib", Start(wide), 1000, 4096),
        MethodStream(u"zlib", Start(wide) + 1000, 1000, 904)}},
      {"narrow",
       narrow,
       {MethodStream(u"zlib", Start(narrow), 1000, 4096),
        MethodStream(u"zlib", Start(narrow) + 1000, 1000, 904)}},
      {"block size before flags",
       trailer_last,
       {MethodStream(u"zlib", Start(wide), 1000, 4096),
        MethodStream(u"zlib", Start(wide) + 1000, 1000, 904)}},
      {"method string as given",
       wide,
       {MethodStream(u"Kraken:l4", Start(wide), 1000, 4096),
        MethodStream(u"Kraken:l4", Start(wide) + 1000, 1000, 904)},
       true,
       u"Kraken:l4"},
      {"encrypted",
       encrypted,
       {AesStream(u"ue4", Start(encrypted), 2016, kKey,
                  {{0, 1000, 4096, u"zlib"}, {1008, 1008, 3904, u"zlib"}})}},
      {"flagged encrypted without a key",
       encrypted,
       {MethodStream(u"zlib", Start(encrypted), 1000, 4096),
        MethodStream(u"zlib", Start(encrypted) + 1000, 1008, 3904)},
       false},
      {"encrypted without a method",
       encrypted,
       {AesStream(u"ue4", Start(encrypted), 2016, kKey)},
       true,
       u""},
      {"plain without a method", wide, {}, true, u""},
      {"stored entry", stored_only, {}},
      {"stored encrypted entry",
       stored_encrypted,
       {AesStream(u"ue4", Start(stored_encrypted), 700, kKey)}},
      {"stored encrypted entry without a key", stored_encrypted, {}, false},
  });
}

TEST(Ue4Scanner, NeedsSizesOfAtLeast256) {
  RunCases({
      {"S 100", {.stored = 100, .decoded = 400, .blocks = {100}, .block_size = 400}, {}},
      {"S 300, D 200", {.stored = 300, .decoded = 200, .blocks = {300}, .block_size = 200}, {}},
      {"S 256",
       {.stored = 256, .decoded = 400, .blocks = {256}, .block_size = 400},
       {MethodStream(u"zlib", kAt + 73, 256, 400)}},
      {"block size 255",
       {.stored = 300, .decoded = 500, .blocks = {150, 150}, .block_size = 255},
       {}},
      {"encrypted block size 255",
       {.stored = 304,
        .decoded = 500,
        .blocks = {150, 150},
        .block_align = 16,
        .flags = 1,
        .block_size = 255},
       {}},
  });
}

TEST(Ue4Scanner, ReadsTheTrailerInEitherOrder) {
  // 01 00 00 01 00: flags 1, then 65536. B (from the first byte) is far above 0x100000, so the
  // block size is A = 65536, and the flags byte is the first.
  const std::vector<int32_t> five(5, 100);
  const Ue4Entry flags_first{.stored = 5 * 112,
                             .decoded = 300000,
                             .blocks = five,
                             .block_align = 16,
                             .trailer = {{0x01, 0x00, 0x00, 0x01, 0x00}}};
  std::vector<Nested> nested;
  for (int i = 0; i < 5; ++i)
    nested.push_back({112 * i, 100, i < 4 ? 65536 : 300000 - 4 * 65536, u"zlib"});
  // 00 00 01 00 00: 65536, then flags 0. With D >= 65536 the block size is 65536 (B) and the
  // flags byte the last; with D below it the block size is A = 256 and the flags byte the first.
  const Ue4Entry size_first{.stored = 600,
                            .decoded = 70000,
                            .blocks = {300, 300},
                            .trailer = {{0x00, 0x00, 0x01, 0x00, 0x00}}};
  const std::vector<int32_t> small_blocks(235, 2);
  const Ue4Entry size_first_small{.stored = 470,
                                  .decoded = 60000,
                                  .blocks = small_blocks,
                                  .trailer = {{0x00, 0x00, 0x01, 0x00, 0x00}}};
  std::vector<Stream> small;
  for (int i = 0; i < 235; ++i) {
    small.push_back(MethodStream(u"zlib", Start(size_first_small) + 2 * i, 2,
                                 i < 234 ? 256 : 60000 - 234 * 256));
  }
  RunCases({
      {"flags first", flags_first, {AesStream(u"ue4", Start(flags_first), 560, kKey, nested)}},
      {"size first",
       size_first,
       {MethodStream(u"zlib", Start(size_first), 300, 65536),
        MethodStream(u"zlib", Start(size_first) + 300, 300, 4464)}},
      {"size first, small D", size_first_small, small},
  });
}

TEST(Ue4Scanner, RejectsWrongCountsFlagsAndHashes) {
  const std::vector<int32_t> four(4, 100);
  const Ue4Entry four_blocks{.stored = 400, .decoded = 300000, .blocks = four, .block_size = 65536};
  Ue4Entry bad_hash{.stored = 600, .decoded = 600, .blocks = {600}, .block_size = 600};
  bad_hash.bad_hash = true;
  RunCases({
      // ceil(300000 / 65536) is 5.
      {"4 blocks for 5", four_blocks, {}},
      {"count -1",
       {.stored = 600, .decoded = 600, .blocks = {600}, .block_size = 600, .count_field = -1},
       {}},
      {"count 32769",
       {.stored = 600, .decoded = 600, .blocks = {600}, .block_size = 600, .count_field = 32769},
       {}},
      {"flags 2",
       {.stored = 600, .decoded = 600, .blocks = {600}, .flags = 2, .block_size = 600},
       {}},
      {"hash", bad_hash, {}},
  });
  const Ue4Entry good{.stored = 600, .decoded = 600, .blocks = {600}, .block_size = 600};
  EXPECT_EQ(Scan(Input(good), true, u"zlib").size(), 1u);
  // Only the low byte of HashBuffer's answer counts.
  EXPECT_TRUE(Scan(Input(good), true, u"zlib", -1, true).empty());
}

TEST(Ue4Scanner, GuardsBlockSizesAndTables) {
  // Flags 1 and a block size of 0 or below: the count test would divide by it.
  const Ue4Entry zero_size{.stored = 608,
                           .decoded = 1000,
                           .blocks = {600},
                           .block_align = 16,
                           .trailer = {{0x01, 0, 0, 0, 0}}};
  const Ue4Entry negative_size{.stored = 608,
                               .decoded = 1000,
                               .blocks = {600},
                               .block_align = 16,
                               .trailer = {{0x01, 0, 0, 0, 0x80}}};
  // Blocks that do not fit the entry's stored bytes.
  const Ue4Entry overlong{
      .stored = 1500, .decoded = 8000, .blocks = {1000, 1000}, .block_size = 4096};
  Ue4Entry overlong_encrypted = overlong;
  overlong_encrypted.flags = 1;
  overlong_encrypted.block_align = 16;
  const Ue4Entry negative_block{.stored = 600, .decoded = 800, .blocks = {-16}, .block_size = 800};
  Ue4Entry negative_encrypted = negative_block;
  negative_encrypted.flags = 1;
  RunCases({
      {"block size 0", zero_size, {}},
      {"block size below 0", negative_size, {}},
      {"blocks past the entry", overlong, {}},
      {"encrypted blocks past the entry",
       overlong_encrypted,
       {AesStream(u"ue4", Start(overlong), 1500, kKey)}},
      {"negative block", negative_block, {}},
      {"encrypted negative block",
       negative_encrypted,
       {AesStream(u"ue4", Start(negative_block), 600, kKey)}},
  });
}

TEST(Ue4Scanner, LeavesOutBlocksOfNoStoredBytes) {
  // Three blocks of 4096 decoded bytes at most; the empty ones still use up their share of D.
  const Ue4Entry plain{.stored = 1000, .decoded = 9000, .blocks = {0, 1000, 0}, .block_size = 4096};
  const Ue4Entry encrypted{.stored = 1008,
                           .decoded = 9000,
                           .blocks = {0, 1000, 0},
                           .block_align = 16,
                           .flags = 1,
                           .block_size = 4096};
  RunCases({
      {"plain", plain, {MethodStream(u"zlib", Start(plain), 1000, 4096)}},
      {"encrypted",
       encrypted,
       {AesStream(u"ue4", Start(encrypted), 1008, kKey, {{0, 1000, 4096, u"zlib"}})}},
  });
}

TEST(Ue4Scanner, ReadsNothingPastTheAvailableBytes) {
  const Ue4Entry entry{.stored = 600, .decoded = 600, .blocks = {600}, .block_size = 600};
  const Bytes whole = Input(entry);
  const Stream found = MethodStream(u"zlib", Start(entry), 600, 600);
  // Data one byte short of the entry's size.
  Bytes cut(whole.begin(), whole.begin() + Start(entry) + 599);
  EXPECT_TRUE(Scan(cut, true, u"zlib").empty());
  // The record cut inside its block count (the guard page is right behind it).
  for (int64_t keep : {49, 50, 51}) {
    Bytes record(whole.begin(), whole.begin() + kAt + keep);
    EXPECT_TRUE(Scan(record, true, u"zlib").empty()) << keep;
  }
  // Starts lie below size - 48; the entry itself may reach up to the available size.
  EXPECT_EQ(Scan(whole, true, u"zlib", kAt + 49), std::vector<Stream>{found});
  EXPECT_TRUE(Scan(whole, true, u"zlib", kAt + 48).empty());
}

}  // namespace
}  // namespace unreal_test
