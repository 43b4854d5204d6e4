#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/picture/frame_fixture.h"
#include "core/zkw_string.h"

namespace {

TEST(FrameContainer, ReadsFramesWithTheirDelaysAndRefusesWhatDoesNotMatch) {
  const std::vector<PictureFrame> two = {Frame({1, 2, 3}, 0.25f), Frame({4}, 0.5f)};
  std::vector<PictureFrame> frames;
  ASSERT_TRUE(ReadFrameContainer(Container(two), frames));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].delay, 0.25f);
  EXPECT_EQ(frames[1].delay, 0.5f);
  EXPECT_EQ(std::vector<uint8_t>(frames[0].bytes.Data(), frames[0].bytes.Data() + 3),
            (std::vector<uint8_t>{1, 2, 3}));

  std::vector<uint8_t> badTag = Container(two);
  badTag[1] = 'z';
  std::vector<uint8_t> truncated = Container(two);
  truncated.resize(truncated.size() - 3);
  std::vector<uint8_t> hugeCount = Container({});
  hugeCount[hugeCount.size() - 4] = 0xFF;
  // One frame whose size word claims more than the container holds.
  std::vector<uint8_t> hugeSize = Container({Frame({7}, 0.0f)});
  for (size_t i = 0; i < 4; ++i)
    hugeSize[hugeSize.size() - 9 + i] = 0xFF;
  for (const auto& bytes :
       {badTag, Container(two, u"IMH"), Container(two, u"IMGS"), truncated, hugeCount, hugeSize,
        std::vector<uint8_t>(kFrameContainerTag, kFrameContainerTag + 5)}) {
    std::vector<PictureFrame> kept = {Frame({9}, 1.0f)};
    EXPECT_FALSE(ReadFrameContainer(bytes, kept));
    ASSERT_EQ(kept.size(), 1u) << "a refused container leaves the frames as they were";
  }
}

TEST(SharedBytes, ReadWholeRegularFilesShareTheirBlockAndRefuseOversizedBlocks) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("shared-bytes-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  auto write = [&](const char* name, std::vector<uint8_t> bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return FromUtf8((folder / name).string());
  };

  SharedBytes bytes;
  ASSERT_TRUE(bytes.ReadFile(write("empty.bin", {})));
  EXPECT_EQ(bytes.Count(), 0u);
  ASSERT_TRUE(bytes.ReadFile(write("three.bin", {1, 2, 3})));
  SharedBytes copy = bytes;
  EXPECT_EQ(copy.Data(), bytes.Data());
  EXPECT_EQ(bytes.Holders(), 2);
  EXPECT_FALSE(bytes.ReadFile(FromUtf8(folder.string())));
  EXPECT_FALSE(bytes.ReadFile(u""));
  EXPECT_EQ(bytes.Count(), 3u) << "a failed read changes nothing";

  EXPECT_FALSE(bytes.Allocate(SharedBytes::kMaxBytes + 1));
  EXPECT_FALSE(bytes.Allocate(uint64_t{1} << 32)) << "no size wraps to a small block";
  EXPECT_EQ(bytes.Count(), 3u);
  EXPECT_EQ(bytes.Data(), copy.Data()) << "a refused size keeps the block";
  std::filesystem::remove_all(folder);
}

}  // namespace
