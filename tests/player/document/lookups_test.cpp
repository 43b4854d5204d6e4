#include <gtest/gtest.h>

#include <bit>

#include "core/archive/ds_iof_w.h"
#include "player/document/zkw_losable_obj.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"

namespace document_test {
namespace {

using Lookups = DocumentTest;

TEST_F(Lookups, ImageTexturesOfModulesNamesAndFiles) {
  ImageTextureSet& own = Doc().GetImageTextures(DS_ImageFileLink(u"", 54));
  ASSERT_EQ(own.textures.size(), 1u);
  EXPECT_TRUE(own.textures[0]) << "an empty name reads the player's own picture";
  EXPECT_EQ(own.width, 64u);

  ImageTextureSet& unknown = Doc().GetImageTextures(DS_ImageFileLink(u"", 3));
  ASSERT_EQ(unknown.textures.size(), 1u);
  EXPECT_FALSE(unknown.textures[0]);
  EXPECT_EQ(unknown.width, 800u);

  ImageTextureSet& library = Doc().GetImageTextures(DS_ImageFileLink(u"glimres.dll", 54));
  ASSERT_EQ(library.textures.size(), 1u);
  EXPECT_TRUE(library.textures[0]) << "without the library the player's own picture stands in";
  EXPECT_EQ(library.width, 64u);
  EXPECT_EQ(Doc().resourceRecords[(LinkKey{u"glimres.dll", 54})].size(), 1u);
  ImageTextureSet& absent = Doc().GetImageTextures(DS_ImageFileLink(u"glimres.dll", 3));
  ASSERT_EQ(absent.textures.size(), 1u);
  EXPECT_FALSE(absent.textures[0]);

  const DS_ImageFileLink file(WriteFile("sky.png", Png(2, 2)), 1);
  for (int call = 0; call < 2; ++call) {
    EXPECT_TRUE(Doc().GetImageTextures(file).textures.empty()) << "a file is never opened here";
  }
  EXPECT_EQ(Doc().resourceRecords.count(file.Key()), 1u);
}

// A picture pack: delays, a record count and the records.
std::vector<uint8_t> Pack(const std::vector<float>& delays,
                          const std::vector<ResourceDataRecord>& records) {
  DS_IOF_W w;
  w.WriteDword(uint32_t(delays.size()));
  for (float d : delays)
    w.WriteDword(std::bit_cast<uint32_t>(d));
  w.WriteDword(uint32_t(records.size()));
  for (const auto& r : records)
    w.WriteResourceRecord(r);
  return w.TakeBytes();
}

TEST_F(Lookups, PicturePacksFromModules) {
  const std::string name = UniqueModuleName("packs");
  std::vector<uint8_t> truncated = Pack({0.5f}, {Record(0, u"", Png(2, 2), u"a.png")});
  truncated.resize(truncated.size() - 10);
  PeModuleWriter()
      .AddDds(30, Pack({0.5f, 0.25f},
                       {Record(0, u"", Png(2, 2), u"a.png"), Record(0, u"", Png(4, 2), u"b.png")}))
      .AddDds(31, truncated)
      .AddDds(32, Pack({}, {}))
      .WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());

  ImageTextureSet& set = Doc().LoadModulePictures(DS_FileLink3(module, 30));
  ASSERT_EQ(set.textures.size(), 2u);
  EXPECT_TRUE(set.textures[0] && set.textures[1]);
  EXPECT_EQ(set.delays, (std::vector<float>{0.5f, 0.25f}));
  EXPECT_EQ(set.aspect, 0.5f) << "the last picture's size";
  EXPECT_EQ(Doc().resourceRecords[(LinkKey{module, 30})].size(), 2u);
  EXPECT_EQ(&Doc().LoadModulePictures(DS_FileLink3(module, 30)), &set);

  for (int id : {31, 32, 33}) {
    EXPECT_TRUE(Doc().LoadModulePictures(DS_FileLink3(module, id)).textures.empty()) << id;
  }
}

TEST_F(Lookups, RegisteredPictures) {
  const DS_ImageFileLink one = Doc().RegisterModulePicture(Record(0, u"", Png(4, 8), u"p.png"));
  EXPECT_EQ(one.name, u"p.png");
  const ImageTextureSet& set = Doc().imageTextureSets[one.Key()];
  ASSERT_EQ(set.textures.size(), 1u);
  EXPECT_EQ(set.aspect, 2.0f);
  const DS_ImageFileLink module = Doc().RegisterModulePicture(Record(54, u""));
  EXPECT_EQ(module.Key(), (LinkKey{u"", 54}));

  const std::vector<ResourceDataRecord> frames = {Record(60, u"", {}), Record(61, u"", {})};
  const DS_ImageFileLink animated = Doc().RegisterFramePictures(frames, {0.1f, 0.2f});
  EXPECT_EQ(animated.Key(), (LinkKey{u"", 60}));
  const ImageTextureSet& animation = Doc().imageTextureSets[animated.Key()];
  EXPECT_EQ(animation.textures.size(), 2u);
  EXPECT_EQ(animation.delays.size(), 2u);
  EXPECT_EQ(Doc().RegisterFramePictures(frames, {9.0f}).Key(), animated.Key());
  EXPECT_EQ(animation.delays[0], 0.1f) << "a link whose textures exist stays as it is";
  EXPECT_EQ(Doc().resourceRecords[animated.Key()].size(), 2u);

  const size_t sets = Doc().imageTextureSets.size();
  EXPECT_EQ(Doc().RegisterFramePictures({}, {1.0f}).Key(), (LinkKey{u"", 0}));
  EXPECT_EQ(Doc().imageTextureSets.size(), sets) << "an empty list registers nothing";
}

TEST_F(Lookups, GuidTexturesAndTargetsAreMadeLazily) {
  const GuidPictureKey key{GUID::Create(), u"", 1};
  ComRef<gfx::Texture>& slot = Doc().GetGuidTexture(key);
  EXPECT_FALSE(slot) << "no frames yet";
  Doc().framesByLink[GuidLinkKey(key.guid)] = {Frame(Png(4, 4, 0xFF0000FF), 0.0f)};
  EXPECT_EQ(&Doc().GetGuidTexture(key), &slot);
  ASSERT_TRUE(slot);
  EXPECT_EQ(FirstTexel(slot.Get()), 0xFF0000FFu);

  const GuidPictureKey other{key.guid, u"another name", 0};
  RenderTargetSet* targets = Doc().GetGuidRenderTarget(other);
  ASSERT_NE(targets, nullptr);
  EXPECT_EQ(Doc().GetGuidRenderTarget(key), targets) << "keys compare by their GUID alone";
  EXPECT_EQ(targets->width, 512u);
  ASSERT_TRUE(targets->current);
  EXPECT_EQ(FirstTexel(targets->current.Get()), 0xFF0000FFu);

  Doc().ReleaseDeviceObjects();
  EXPECT_FALSE(targets->current);
  Doc().OnResetDevice();
  ASSERT_TRUE(targets->current);
  EXPECT_EQ(targets->height, 512u);
  EXPECT_EQ(FirstTexel(targets->current.Get()), 0xFF0000FFu) << "refilled from the picture";

  const GuidPictureKey several{GUID::Create(), u"", 1};
  Doc().framesByLink[GuidLinkKey(several.guid)] = {Frame(Png(2, 2), 0.1f), Frame(Png(2, 2), 0.1f)};
  EXPECT_FALSE(Doc().GetGuidTexture(several));
}

TEST(GuidPictureKeys, OrderByTheBytesInMemory) {
  // Data1 0x100 lies in memory as 00 01 00 00 and 0x1 as 01 00 00 00: the first byte decides.
  const GuidPictureKey a{GUID::Parse(u"{00000100-0000-0000-0000-000000000000}"), u"z", 0};
  const GuidPictureKey b{GUID::Parse(u"{00000001-0000-0000-0000-000000000000}"), u"a", 0};
  EXPECT_TRUE(a < b);
  EXPECT_FALSE(b < a);
  EXPECT_FALSE(a < (GuidPictureKey{a.guid, u"other", 1}));
}

class CountingLosable : public ZKW_LosableObj {
 public:
  void OnLostDevice() override { ++lost; }
  void OnResetDevice() override { ++reset; }
  int lost = 0, reset = 0;
};

TEST_F(Lookups, LosableObjectsFollowTheCurrentDocument) {
  {
    CountingLosable a, b;
    EXPECT_EQ(a.name.size(), 38u);
    EXPECT_NE(a.Key(), b.Key());
    EXPECT_EQ(Doc().losableRegistry.Entries().size(), 2u);
    Doc().OnResetDevice();
    Doc().ReleaseDeviceObjects();
    EXPECT_EQ(a.reset, 1);
    EXPECT_EQ(b.lost, 1);
  }
  EXPECT_TRUE(Doc().losableRegistry.Entries().empty());

  SceneView* documentView = GetSceneView();
  EXPECT_EQ(documentView, &Doc().sceneView);
  DocumentTlsSlot::Reset();
  CountingLosable unregistered;
  SceneView* defaultView = GetSceneView();
  EXPECT_NE(defaultView, documentView);
  EXPECT_EQ(defaultView->scaleX, 0.0f);
  EXPECT_EQ(defaultView->quad.corners[0].v, 1.0f);
  EXPECT_EQ(defaultView->quad.corners[3].u, 1.0f);
  DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
  EXPECT_TRUE(Doc().losableRegistry.Entries().empty());
}

TEST(ImageTextureSets, AdvanceOverDelays) {
  ImageTextureSet set;
  set.Advance(5.0f);
  EXPECT_EQ(set.frameIndex, 0u) << "no delays: the frame never changes";
  EXPECT_EQ(set.lastSwitch, 0.0f);
  set.delays = {0.5f, 1.0f};
  set.Advance(0.4f);
  EXPECT_EQ(set.frameIndex, 0u);
  set.Advance(0.6f);
  EXPECT_EQ(set.frameIndex, 1u);
  EXPECT_EQ(set.lastSwitch, 0.6f) << "timed from the call, the overshoot dropped";
  set.Advance(0.1f);
  EXPECT_EQ(set.lastSwitch, 0.1f) << "an earlier time restarts the frame's time";
  set.Advance(1.05f);
  EXPECT_EQ(set.frameIndex, 1u);
  set.Advance(1.2f);
  EXPECT_EQ(set.frameIndex, 0u);
}

}  // namespace
}  // namespace document_test
