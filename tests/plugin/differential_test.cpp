// The plug-in's scan, which skips ahead to candidates, against a plain byte-by-byte reference
// scanner, on generated archives, random bytes and random mutations of both.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "fixtures.h"
#include "reference_scanner.h"
#include "test_host.h"

namespace unreal_test {
namespace {

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  Bytes Input() {
    Bytes out;
    const int segments = Pick(1, 12);
    for (int i = 0; i < segments; ++i)
      Append(out, Segment());
    Mutate(out);
    return out;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }

 private:
  Bytes Segment() {
    switch (Pick(0, 10)) {
      case 10: {
        // ue4 records that overlap, each claiming the rest of the run, most with wrong hashes:
        // which of them are examined depends on the bound on rejected entries.
        Bytes b =
            OverlappingUe4Records(Pick(600, 5000), Pick(40, 300), Chance(50) ? 0 : Pick(1, 4));
        if (Chance(60)) {
          const Bytes entry = Ue4();
          const int at = Pick(0, static_cast<int>(b.size()));
          b.resize(std::max(b.size(), at + entry.size()));
          std::copy(entry.begin(), entry.end(), b.begin() + at);
        }
        return b;
      }
      case 9: {
        // Mostly zero bytes: zero runs of every length, ending anywhere.
        Bytes b(static_cast<size_t>(Pick(0, 3000)), 0);
        const int density = Pick(2, 40);
        for (uint8_t& x : b) {
          if (Pick(1, density) == 1) x = static_cast<uint8_t>(Chance(50) ? Pick(1, 3) : rng_());
        }
        return b;
      }
      case 0: {
        Bytes b(static_cast<size_t>(Pick(0, 3000)));
        for (uint8_t& x : b)
          x = static_cast<uint8_t>(rng_());
        return b;
      }
      case 1:
        return Bytes(static_cast<size_t>(Pick(1, 3000)), 0);
      case 2:
        return Filler(Pick(1, 500), static_cast<uint8_t>(Pick(0, 255)));
      case 3:
        return Ue3();
      case 4:
      case 5:
        return Ue4();
      case 6:
        return Ue5Stream(Pick(1, 160), static_cast<uint8_t>(Pick(0, 255)));
      case 7: {
        // Pieces of the structures: a tag, a zero run ahead of a size.
        Bytes b;
        if (Chance(50)) Append<uint32_t>(b, 0x9E2A83C1);
        Append<uint64_t>(b, 0);
        Append<int64_t>(b, Pick(0, 5000));
        return b;
      }
      default: {
        Bytes b(static_cast<size_t>(Pick(16, 64)), 0);
        Append(b, Filler(Pick(16, 80), static_cast<uint8_t>(Pick(0, 255))));
        b.resize(b.size() + static_cast<size_t>(Pick(0, 2100)), 0);
        return b;
      }
    }
  }

  Bytes Ue3() {
    const auto form = static_cast<Ue3Form>(Pick(0, 2));
    const int64_t block = form == Ue3Form::kLargeBlock ? 0x40000 : 0x20000;
    std::vector<Ue3Entry> table(static_cast<size_t>(Pick(0, 5)));
    for (Ue3Entry& e : table) {
      e.stored = Pick(0, 400);
      e.decoded = Chance(10) ? block + Pick(-1, 1) : Pick(0, 2000);
      if (Chance(5)) e.stored = -e.stored;
    }
    Bytes chunk = Ue3Chunk(form, table);
    if (Chance(20)) {
      int64_t stored = 0, decoded = 0;
      for (const Ue3Entry& e : table)
        stored += e.stored, decoded += e.decoded;
      chunk = Ue3Chunk(form, stored + Pick(-2, 2), decoded + Pick(-2, 2), table, Chance(50));
    }
    return chunk;
  }

  Bytes Ue4() {
    Ue4Entry e;
    e.narrow = Chance(30);
    e.method = Chance(25) ? 0 : static_cast<uint8_t>(Pick(1, 9));
    e.flags = Chance(5) ? 2 : static_cast<uint8_t>(Pick(0, 1));
    e.flags_first = Chance(60);
    e.seed = static_cast<uint8_t>(Pick(0, 255));
    e.bad_hash = Chance(10);
    if (e.method == 0) {
      e.stored = Pick(200, 3000);
      e.decoded = Chance(85) ? e.stored : e.stored + Pick(-5, 5);
      e.block_size = Pick(0, 70000);
    } else {
      e.block_size = Chance(10) ? Pick(-5, 300) : Pick(256, 9000);
      const int count = Pick(0, 6);
      e.block_align = e.flags == 1 ? 16 : 1;
      int64_t stored = 0;
      for (int i = 0; i < count; ++i) {
        e.blocks.push_back(Pick(1, 700));
        stored += (e.blocks.back() + e.block_align - 1) / e.block_align * e.block_align;
      }
      e.stored = std::max<int64_t>(stored + (Chance(20) ? Pick(-40, 40) : 0), Pick(200, 300));
      const int64_t bs = std::max(e.block_size, 1);
      e.decoded = count == 0 ? e.stored + Pick(0, 100)
                             : std::max<int64_t>(e.stored,
                                                 (count - 1) * bs + Pick(1, static_cast<int>(bs)));
      if (Chance(10)) e.count_field = count + Pick(-1, 1);
    }
    return e.Build();
  }

  void Mutate(Bytes& b) {
    if (b.empty()) return;
    const int edits = Chance(40) ? 0 : Pick(1, 8);
    for (int i = 0; i < edits; ++i) {
      const size_t at = static_cast<size_t>(Pick(0, static_cast<int>(b.size()) - 1));
      switch (Pick(0, 3)) {
        case 0:
          b[at] = static_cast<uint8_t>(rng_());
          break;
        case 1:
          b[at] ^= static_cast<uint8_t>(1 << Pick(0, 7));
          break;
        case 2: {
          const size_t n = std::min(b.size() - at, static_cast<size_t>(Pick(1, 40)));
          std::fill_n(b.begin() + static_cast<int64_t>(at), n, 0);
          break;
        }
        default:
          b.resize(at + 1);
          break;
      }
    }
  }

  std::mt19937 rng_;
};

struct Config {
  Command command;
  ReferenceConfig reference;
};

std::vector<Config> Configs() {
  const std::u16string key4 = u"0123456789abcdef";
  const std::u16string key5 = u"fedcba98";
  const int32_t first = TestHost::kFirstResourceId;
  return {
      {{{u"ue3"}, {u"ue4", {{u"", u"zlib"}, {u"k0x", key4}}}, {u"ue5", {{u"k0x", key5}}}},
       {true, true, true, u"zlib", true, first, true, first + 1}},
      {{{u"ue4", {{u"", u"x:kraken:l4"}}}, {u"ue5"}},
       {false, true, true, u"kraken:l4", false, -1, false, -1}},
      {{{u"ue4", {{u"k0x", key4}}}, {u"ue3"}}, {true, true, false, u"", true, first, false, -1}},
      {{{u"ue5", {{u"k0x", key5}}}}, {false, false, true, u"", false, -1, true, first}},
  };
}

TEST(DifferentialScan, MatchesTheByteByByteReference) {
  std::map<std::u16string, int> found;
  uint32_t seed = 20240611;
  for (const Config& config : Configs()) {
    PluginLibrary plugin;
    TestHost host;
    ASSERT_EQ(host.Init(plugin, config.command), 1);
    Generator gen(seed++);
    for (int round = 0; round < 150; ++round) {
      const Bytes bytes = gen.Input();
      GuardedBuffer input(bytes);
      const int64_t size =
          std::max<int64_t>(0, input.size() - (gen.Chance(30) ? gen.Pick(0, 120) : 0));
      const auto events = host.Scan(plugin, input, size, round);
      const auto expected =
          ReferenceScan(config.reference, input.data(), size, input.size(), round);
      ASSERT_EQ(events, expected) << "config " << Narrow(config.command[0].name) << ", round "
                                  << round << ", " << bytes.size() << " bytes, size " << size;
      for (const Event& e : events) {
        if (e.kind == Event::Kind::kAdd || e.kind == Event::Kind::kNested) ++found[e.codec];
      }
    }
  }
  // The generated inputs reach every kind of report.
  for (const char16_t* codec :
       {u"lzopro", u"lzna:l7", u"leviathan:l4", u"aes", u"zlib", u"kraken:l4"}) {
    EXPECT_GE(found[codec], 10) << Narrow(codec);
  }
}

}  // namespace
}  // namespace unreal_test
