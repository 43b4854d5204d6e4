// The exported interface: codec names, the inert exports, Booleans, null arguments, and scans
// on several threads at once.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

TEST(PluginInterface, CodecNamesNeedNoInit) {
  PluginLibrary plugin;
  const std::vector<std::pair<int32_t, const char16_t*>> cases = {
      {0, u"ue3"}, {1, u"ue4"}, {2, u"ue5"}, {3, nullptr}, {-1, nullptr}, {INT32_MIN, nullptr}};
  for (const auto& [index, name] : cases) {
    const char16_t* got = plugin.Codec(index);
    if (name == nullptr) {
      EXPECT_EQ(got, nullptr) << index;
    } else {
      ASSERT_NE(got, nullptr) << index;
      EXPECT_EQ(std::u16string(got), name);
    }
  }
}

TEST(PluginInterface, InertExportsReturnZero) {
  PluginLibrary plugin;
  plugin.Free();
  for (auto* fn : {plugin.Scan2, plugin.Process, plugin.Restore})
    EXPECT_EQ(fn(), 0);
}

TEST(PluginInterface, InitAnswersFullWordBooleans) {
  PluginLibrary plugin;
  TestHost host;
  // The whole 32-bit value is the Boolean: exactly 1 or 0.
  EXPECT_EQ(host.Init(plugin, {{u"ue3"}}), 1);
  EXPECT_EQ(host.Init(plugin, {{u"zip"}}), 0);
  EXPECT_EQ(plugin.Init(&host.command, nullptr, nullptr), 0);
}

TEST(PluginInterface, ScanWithoutInitOrInputReportsNothing) {
  PluginLibrary plugin;
  TestHost host;
  GuardedBuffer input(Ue3Chunk(Ue3Form::kNarrow, {{100, 200}}));
  EXPECT_TRUE(host.Scan(plugin, input).empty());
  ASSERT_EQ(host.Init(plugin, {{u"ue3"}}), 1);
  EXPECT_EQ(plugin.Scan1(1, nullptr, 100, 100, nullptr, nullptr, host.funcs()), 0);
  EXPECT_EQ(plugin.Scan1(1, input.data(), input.size(), input.size(), nullptr, nullptr, nullptr),
            0);
  // Negative or inconsistent sizes find nothing and read nothing.
  EXPECT_TRUE(host.Scan(plugin, input, -5).empty());
  GuardedBuffer empty(Bytes{});
  EXPECT_TRUE(host.Scan(plugin, empty, 1000).empty());
}

TEST(PluginInterface, ScansRunOnSeveralThreadsAtOnce) {
  PluginLibrary plugin;
  TestHost host;
  ASSERT_EQ(host.Init(plugin, {{u"ue3"},
                               {u"ue4", {{u"", u"zlib"}, {u"k0x", u"00112233"}}},
                               {u"ue5", {{u"k0x", u"44556677"}}}}),
            1);
  std::vector<Bytes> inputs;
  for (int i = 0; i < 4; ++i) {
    Bytes bytes = Filler(1000 + 37 * i, static_cast<uint8_t>(i));
    Append(bytes, Ue3Chunk(Ue3Form::kWide, {{300, 1000}, {40, 50}}));
    Append(bytes, Ue4Entry{.stored = 2048,
                           .decoded = 5000,
                           .blocks = {1000, 1048},
                           .block_align = 16,
                           .flags = static_cast<uint8_t>(i % 2),
                           .block_size = 4096}
                      .Build());
    Append(bytes, Ue5Stream(20 + i));
    Append(bytes, Filler(500));
    inputs.push_back(bytes);
  }
  std::vector<std::vector<Event>> alone;
  for (const Bytes& bytes : inputs)
    alone.push_back(host.Scan(plugin, GuardedBuffer(bytes), std::ssize(bytes), 1));
  std::vector<std::vector<Event>> together(inputs.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < inputs.size(); ++i) {
    threads.emplace_back([&, i] {
      TestHost thread_host;
      GuardedBuffer input(inputs[i]);
      for (int round = 0; round < 20; ++round)
        together[i] = thread_host.Scan(plugin, input, input.size(), 1);
    });
  }
  for (std::thread& t : threads)
    t.join();
  for (size_t i = 0; i < inputs.size(); ++i) {
    // ue3: two blocks; ue4: one aes stream, or its two blocks; ue5: one stream.
    EXPECT_EQ(Streams(together[i]).size(), i % 2 == 1 ? 4u : 5u);
    EXPECT_EQ(together[i], alone[i]) << "input " << i;
  }
}

}  // namespace
}  // namespace unreal_test
