// PrecompInit: codec names, the ue4 method string, the "k0x" keys, and a second call.
// Each case is observed through a scan of a probe that holds one stream of every kind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

struct Observed {
  bool ue3 = false;
  std::u16string method;  // codec of the plain ue4 block; empty when not reported
  int32_t ue4_key = -1;   // resource id of the encrypted ue4 entry's aes stream
  int32_t ue5_key = -1;   // resource id of the ue5 stream
  bool operator==(const Observed&) const = default;
};

void PrintTo(const Observed& o, std::ostream* out) {
  *out << "{ue3 " << o.ue3 << ", method \"" << Narrow(o.method) << "\", ue4 key " << o.ue4_key
       << ", ue5 key " << o.ue5_key << "}";
}

Observed Probe(PluginLibrary& plugin, TestHost& host) {
  Bytes bytes = Filler(40);
  Append(bytes, Ue3Chunk(Ue3Form::kNarrow, {{300, 500}}));
  const int64_t encrypted = std::ssize(bytes);
  const Ue4Entry flagged{.stored = 608,
                         .decoded = 1000,
                         .blocks = {600},
                         .block_align = 16,
                         .flags = 1,
                         .block_size = 65536};
  Append(bytes, flagged.Build());
  Append(bytes, Ue4Entry{.stored = 500, .decoded = 800, .blocks = {500}, .flags = 0}.Build());
  Append(bytes, Ue5Stream(12));
  Append(bytes, Filler(100));
  GuardedBuffer input(bytes);
  Observed seen;
  for (const Stream& s : Streams(host.Scan(plugin, input))) {
    if (s.log_codec == u"ue3") seen.ue3 = true;
    if (s.log_codec == u"ue5") seen.ue5_key = s.resource_id;
    if (s.log_codec == u"ue4") seen.ue4_key = s.resource_id;
    if (s.codec != u"aes" && s.log_codec != u"ue3" && s.position > encrypted + 700) {
      seen.method = s.codec;
    }
  }
  return seen;
}

constexpr int32_t kId = TestHost::kFirstResourceId;

TEST(PrecompInit, EnablesTheListedCodecsCaseInsensitively) {
  struct Case {
    const char* what;
    Command command;
    int32_t result;
    Observed seen;
  };
  const std::vector<Case> cases = {
      {"ue3", {{u"Ue3"}}, 1, {.ue3 = true}},
      {"ue4", {{u"UE4", {{u"", u"zlib"}}}}, 1, {.method = u"zlib"}},
      {"ue5 needs its key", {{u"uE5"}}, 1, {}},
      {"ue5 with key", {{u"ue5", {{u"k0x", u"01"}}}}, 1, {.ue5_key = kId}},
      {"all",
       {{u"ue5", {{u"k0x", u"aa"}}}, {u"ue3"}, {u"ue4", {{u"", u"lz4"}}}},
       1,
       {.ue3 = true, .method = u"lz4", .ue5_key = kId}},
      {"unknown names are ignored", {{u"zip"}, {u"ue3"}, {u"ue33"}}, 1, {.ue3 = true}},
      {"only unknown names", {{u"ue6"}, {u"lzma"}}, 0, {}},
      {"empty command", {}, 0, {}},
      {"the first empty name ends the list", {{u"zip"}, {u""}, {u"ue3"}}, 0, {}},
  };
  for (const Case& c : cases) {
    PluginLibrary plugin;
    TestHost host;
    EXPECT_EQ(host.Init(plugin, c.command), c.result) << c.what;
    EXPECT_EQ(Probe(plugin, host), c.seen) << c.what;
  }
}

TEST(PrecompInit, TakesTheUe4MethodFromTheFirstMethodName) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"kraken", u"kraken"},
      {u"x:zlib:y:z", u"zlib:y:z"},
      {u"foo:kraken:l4", u"kraken:l4"},
      {u"x:y", u""},
      {u"", u""},
      {u"LeViAtHaN:l4", u"LeViAtHaN:l4"},
      {u"a::lz4hc::b", u"lz4hc::b"},
      {u"lz4:", u"lz4:"},
      {u"mermaid:selkie", u"mermaid:selkie"},
      {u"hydra", u"hydra"},
      {u"lzna", u"lzna"},
      {u"zlibx:lz4x", u""},
  };
  for (const auto& [parameter, method] : cases) {
    PluginLibrary plugin;
    TestHost host;
    ASSERT_EQ(host.Init(plugin, {{u"ue4", {{u"", parameter}}}}), 1);
    EXPECT_EQ(Probe(plugin, host), (Observed{.method = method})) << Narrow(parameter);
  }
}

TEST(PrecompInit, RegistersTheKeyBytes) {
  const std::u16string digits70 =
      u"00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF123456";
  Bytes first32;
  for (int i = 0; i < 32; ++i)
    first32.push_back(static_cast<uint8_t>((i % 16) * 0x11));
  const std::vector<std::pair<std::u16string, Bytes>> cases = {
      {digits70, first32},     {u"zz12", {}},     {u"abc", {0xAB}},
      {u"0A0b", {0x0A, 0x0B}}, {u"12g4", {0x12}}, {u"7", {}},
  };
  for (const auto& [text, bytes] : cases) {
    PluginLibrary plugin;
    TestHost host;
    ASSERT_EQ(host.Init(plugin, {{u"ue4", {{u"k0x", text}}}, {u"ue5", {{u"k0x", text}}}}), 1);
    ASSERT_EQ(host.resources.size(), 2u) << Narrow(text);
    EXPECT_EQ(host.resources[0], bytes) << Narrow(text);
    EXPECT_EQ(host.resources[1], bytes) << Narrow(text);
    // The key counts as given even when no byte converts.
    EXPECT_EQ(Probe(plugin, host), (Observed{.ue4_key = kId, .ue5_key = kId + 1})) << Narrow(text);
  }
}

TEST(PrecompInit, WithoutKeyTextRegistersNothing) {
  PluginLibrary plugin;
  TestHost host;
  ASSERT_EQ(host.Init(plugin, {{u"ue4", {{u"", u"zlib"}, {u"k0x", u""}}}, {u"ue5"}}), 1);
  EXPECT_TRUE(host.resources.empty());
  // Not encrypted without a key: the flagged entry's block is reported under the method.
  EXPECT_EQ(Probe(plugin, host), (Observed{.method = u"zlib"}));
}

TEST(PrecompInit, EveryCallStartsFromTheDefaults) {
  // A second command of one process sees what a fresh plug-in sees: no key, method or codec of
  // the first survives, whether the second lists those codecs again or not.
  const Command keyed = {{u"ue4", {{u"", u"kraken"}, {u"k0x", u"0102"}}},
                         {u"ue5", {{u"k0x", u"0304"}}}};
  const std::vector<std::pair<const char*, Command>> seconds = {
      {"ue4 and ue5 again without keys", {{u"ue4", {{u"", u"zlib"}}}, {u"ue5"}}},
      {"ue4 again without a method", {{u"ue4"}}},
      {"other codecs only", {{u"ue3"}}},
      {"no known codec", {{u"zip"}}},
  };
  for (const auto& [what, second] : seconds) {
    PluginLibrary fresh;
    TestHost fresh_host;
    const int32_t fresh_result = fresh_host.Init(fresh, second);
    const Observed expected = Probe(fresh, fresh_host);

    PluginLibrary plugin;
    TestHost host;
    ASSERT_EQ(host.Init(plugin, keyed), 1);
    ASSERT_EQ(Probe(plugin, host),
              (Observed{.method = u"kraken", .ue4_key = kId, .ue5_key = kId + 1}));
    EXPECT_EQ(host.Init(plugin, second), fresh_result) << what;
    // Without a key the flagged ue4 entry is no "aes" stream: its block goes under the method.
    EXPECT_EQ(Probe(plugin, host), expected) << what;
  }
}

TEST(PrecompInit, ReadsHostTextsUpToTheLimit) {
  // A host that writes its texts whole, up to all the buffer holds: the plug-in reads each up to
  // kHostTextUnits units.
  const auto whole = [](std::u16string start, char16_t fill) {
    start.resize(kHostTextBufferUnits - 1, fill);
    return start;
  };
  std::u16string key;
  while (std::ssize(key) < kHostTextBufferUnits - 1)
    key += u"01";
  key.resize(kHostTextBufferUnits - 1);
  PluginLibrary plugin;
  TestHost host;
  host.whole_texts = true;
  ASSERT_EQ(host.Init(plugin,
                      {
                          // Cut, the name is still not "ue3".
                          {whole(u"ue3", u' ')},
                          // Cut right after the method name.
                          {u"ue4",
                           {{u"", whole(std::u16string(kHostTextUnits - 5, u'x') + u":zlib", u'y')},
                            {u"k0x", key}}},
                      }),
            1);
  EXPECT_EQ(host.resources, std::vector<Bytes>{Bytes(32, 0x01)});
  EXPECT_EQ(Probe(plugin, host), (Observed{.method = u"zlib", .ue4_key = kId}));
}

TEST(PrecompInit, StopsAskingForCodecNamesAfterACap) {
  PluginLibrary plugin;
  TestHost host;
  host.endless_codec_names = true;
  EXPECT_EQ(host.Init(plugin, {{u"ue3"}}), 0);
  EXPECT_EQ(host.codec_name_requests, 1024);
}

}  // namespace
}  // namespace unreal_test
