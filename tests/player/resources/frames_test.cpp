#include <gtest/gtest.h>

#include "core/archive/ds_iof_w.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/resources/frame_textures.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"

namespace document_test {
namespace {

using LinkFrames = DocumentTest;

TEST_F(LinkFrames, FilesGiveTheirFramesOrThemselves) {
  std::vector<PictureFrame> frames;
  const zkw_string plain = WriteFile("sky.png", Png(3, 3));
  ASSERT_TRUE(Doc().LoadLinkFrames(DS_FileLink3(plain, 1), frames));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].delay, 0.0f);
  EXPECT_EQ(frames[0].bytes.Count(), Png(3, 3).size());

  // Stored paths use backslashes: the frame is named after the part after the last one.
  zkw_string windowsPath = plain;
  for (char16_t& u : windowsPath)
    if (u == u'/') u = u'\\';
  frames.clear();
  Doc().LoadLinkFrames(DS_FileLink3(windowsPath, 1), frames);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].name, u"sky.png");

  frames.clear();
  Doc().LoadLinkFrames(
      DS_FileLink3(WriteFile("anim.bin", Container({Frame({1}, 0.1f), Frame({2}, 0.3f)})), 1),
      frames);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].delay, 0.3f);

  for (const auto& [name, bytes] :
       {std::pair<std::string, std::vector<uint8_t>>{"tag.bin", {':', 'Z', 'K', 'W', ':'}},
        {"five.png", {1, 2, 3, 4, 5}},
        {"badstring.bin", Container({Frame({1}, 0.1f)}, u"GIF")}}) {
    frames.clear();
    EXPECT_TRUE(Doc().LoadLinkFrames(DS_FileLink3(WriteFile(name, bytes), 1), frames));
    EXPECT_TRUE(frames.empty()) << name;
  }
  // A GIF is never read; a folder or a missing file gives nothing.
  for (const zkw_string& path : {WriteFile("moving.GIF", Png(2, 2)), FromUtf8(folder_.string()),
                                 FromUtf8((folder_ / "missing.png").string())}) {
    frames.clear();
    EXPECT_TRUE(Doc().LoadLinkFrames(DS_FileLink3(path, 1), frames));
    EXPECT_TRUE(frames.empty()) << ToUtf8(path);
  }
}

TEST_F(LinkFrames, ModuleResourcesGiveTheirFrames) {
  const std::string name = UniqueModuleName("frames");
  PeModuleWriter()
      .AddDds(40, Container({Frame(Png(2, 2), 0.5f), Frame(Png(2, 2), 0.75f)}))
      .AddDds(41, Png(2, 2))
      .WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());
  std::vector<PictureFrame> frames;
  Doc().LoadLinkFrames(DS_FileLink3(module, 40), frames);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].delay, 0.75f);
  frames.clear();
  Doc().LoadLinkFrames(DS_FileLink3(module, 0x10000 + 41), frames);
  ASSERT_EQ(frames.size(), 1u) << "the low 16 bits of the id name the resource";
  EXPECT_EQ(frames[0].bytes.Count(), Png(2, 2).size());
  frames.clear();
  Doc().LoadLinkFrames(DS_FileLink3(u"no-such-library.dll", 54), frames);
  ASSERT_EQ(frames.size(), 1u) << "a missing module falls back to the player's own picture";
}

TEST_F(LinkFrames, FrameTexturesReportTheUsedPartOfTheTexture) {
  const std::vector<PictureFrame> frames = {Frame(Png(300, 200), 0.1f), Frame({1, 2}, 0.2f)};
  LinkTextureSet unscaled;
  CreateFrameTextures(unscaled, frames, false, D3DX_FILTER_NONE);
  ASSERT_EQ(unscaled.textures.size(), 2u);
  ASSERT_TRUE(unscaled.textures[0]);
  EXPECT_FALSE(unscaled.textures[1]) << "an undecodable frame leaves a null texture";
  EXPECT_EQ(unscaled.delays, (std::vector<float>{0.1f, 0.2f}));
  EXPECT_EQ(unscaled.sourceWidth, 300u);
  EXPECT_EQ(unscaled.textureWidth, 512u);
  EXPECT_EQ(unscaled.textureHeight, 256u);
  EXPECT_EQ(unscaled.usedU, 0.5859375f);
  EXPECT_EQ(unscaled.usedV, 0.78125f);
  EXPECT_FLOAT_EQ(unscaled.aspect, 200.0f / 300.0f);

  LinkTextureSet scaled;
  CreateFrameTextures(scaled, frames, true, D3DX_FILTER_TRIANGLE);
  EXPECT_EQ(scaled.usedU, 1.0f);
  EXPECT_EQ(scaled.usedV, 1.0f);
  EXPECT_EQ(scaled.textures[0]->GetFormat(), gfx::Format::Dxt1);

  LinkTextureSet none;
  CreateFrameTextures(none, {Frame({7}, 0.5f)}, false, D3DX_FILTER_NONE);
  EXPECT_EQ(none.aspect, 1.0f) << "no picture: sizes and fractions stay as they were";
  EXPECT_EQ(none.textureWidth, 0u);
}

TEST_F(LinkFrames, BuildLinkTexturesUsesStoredFramesOnceAndGifsOnlyFromTheProject) {
  const DS_FileLink3 gif(WriteFile("moving.gif", Png(2, 2)), 3);
  EXPECT_TRUE(Doc().BuildLinkTextures(gif, D3DX_FILTER_NONE).textures.empty());

  Doc().framesByLink[gif.Key()] = {Frame(Png(4, 4), 0.1f), Frame(Png(4, 4), 0.2f)};
  LinkTextureSet& set = Doc().BuildLinkTextures(gif, D3DX_FILTER_NONE);
  ASSERT_EQ(set.textures.size(), 2u);
  EXPECT_EQ(set.textures[1]->GetFormat(), gfx::Format::Dxt1);
  EXPECT_EQ(&Doc().BuildLinkTextures(gif, D3DX_FILTER_TRIANGLE), &set);
  EXPECT_EQ(set.usedU, 1.0f) << "made once: the second filter is not applied";
  EXPECT_EQ(set.textureWidth, 4u);

  const DS_FileLink3 file(WriteFile("still.png", Png(3, 5)), 4);
  LinkTextureSet& still = Doc().BuildLinkTextures(file, D3DX_FILTER_TRIANGLE);
  ASSERT_EQ(still.textures.size(), 1u);
  EXPECT_EQ(still.sourceHeight, 5u);
  EXPECT_EQ(Doc().framesByLink[file.Key()].size(), 1u) << "the frames read stay with the document";
}

}  // namespace
}  // namespace document_test
