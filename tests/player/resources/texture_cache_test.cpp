#include <gtest/gtest.h>

#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx/surface_pixels.h"
#include "platform/gfx_image/picture_bytes.h"
#include "platform/res/data_modules.h"
#include "player/resources/module_resources.h"
#include "player/resources/picture_decode_ahead.h"
#include "player/resources/picture_textures.h"
#include "player/resources/texture_cache.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"

namespace document_test {
namespace {

using TextureCacheTest = DocumentTest;

TEST_F(TextureCacheTest, TheMostRecentLiveCacheIsCurrent) {
  TextureCache* documentCache = TextureCache::Current();
  ASSERT_NE(documentCache, nullptr);
  {
    TextureCache later;
    EXPECT_EQ(TextureCache::Current(), &later);
    EXPECT_EQ(&Doc().Cache(), &later);
  }
  EXPECT_EQ(TextureCache::Current(), documentCache) << "a deleted cache is never current";
}

TEST_F(TextureCacheTest, MissingLibraryFallsBackToThePlayersOwnPictures) {
  EXPECT_EQ(res::GetDataModule(u"glimres.dll"), nullptr);
  const auto viaMissing = res::FindResource(res::GetDataModule(u"glimres.dll"), u"DDS", 54);
  const auto own = res::FindResource(nullptr, u"DDS", 54);
  ASSERT_TRUE(viaMissing && own);
  EXPECT_EQ(viaMissing->data(), own->data());

  // The cache reads an empty module name as the player's own module...
  TextureCache& cache = Doc().Cache();
  const TextureRef first = cache.GetLinkTexture(Record(54, u""));
  ASSERT_TRUE(first.texture);
  EXPECT_EQ(first.width, 64u);
  EXPECT_EQ(cache.GetLinkTexture(Record(54, u"")).texture.Get(), first.texture.Get())
      << "cached under the null module";
  // ...and a named module that cannot be read as missing: the record's own bytes count first,
  // then the player's own picture of the id stands in.
  const TextureRef stored = cache.GetLinkTexture(Record(54, u"glimres.dll", Png(6, 3)));
  ASSERT_TRUE(stored.texture);
  EXPECT_EQ(stored.aspect, 0.5f);
  const TextureRef substitute = cache.GetLinkTexture(Record(57, u"glimres.dll"));
  ASSERT_TRUE(substitute.texture);
  EXPECT_EQ(substitute.width, 64u);
  const TextureRef missing = cache.GetLinkTexture(Record(3, u"glimres.dll"));
  EXPECT_FALSE(missing.texture) << "the player holds no picture 3";
  EXPECT_EQ(missing.width, 800u);
  EXPECT_EQ(missing.height, 600u);
  EXPECT_EQ(missing.aspect, 0.75f);
  const TextureRef later = cache.GetLinkTexture(Record(3, u"glimres.dll", Png(6, 3)));
  EXPECT_TRUE(later.texture) << "an entry without a texture is tried again";
}

TEST_F(TextureCacheTest, ModulePictureWinsAndBrokenOnesFallBackToStoredBytes) {
  const std::string name = UniqueModuleName("pictures");
  PeModuleWriter().AddDds(5, Png(8, 4, 0xFFFF0000)).AddDds(6, {1, 2, 3}).WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());
  TextureCache& cache = Doc().Cache();
  const TextureRef fromModule = cache.GetLinkTexture(Record(5, module, Png(2, 2)));
  EXPECT_EQ(fromModule.width, 8u);
  EXPECT_EQ(FirstTexel(fromModule.texture.Get()), 0xFFFF0000u);
  const TextureRef fallback = cache.GetLinkTexture(Record(6, module, Png(2, 2, 0xFF00FF00)));
  EXPECT_EQ(fallback.width, 2u);
  EXPECT_EQ(FirstTexel(fallback.texture.Get()), 0xFF00FF00u);
}

TEST_F(TextureCacheTest, RecordsWithPathsUseTheirBytesOrTheirFile) {
  TextureCache& cache = Doc().Cache();
  const ResourceDataRecord withBytes = Record(0, u"", Png(4, 4), u"C:\\x.png");
  EXPECT_NE(cache.GetLinkTexture(withBytes).texture.Get(),
            cache.GetLinkTexture(withBytes).texture.Get())
      << "stored bytes are decoded at every request";

  const zkw_string path = WriteFile("file.png", Png(2, 6));
  const TextureRef file = cache.GetLinkTexture(Record(0, u"", {}, path));
  EXPECT_EQ(file.height, 6u);
  EXPECT_EQ(cache.GetFileTexture(Record(0, u"", {}, path)).texture.Get(), file.texture.Get());
  const TextureRef missing = cache.GetLinkTexture(Record(0, u"", {}, path + u".missing"));
  EXPECT_FALSE(missing.texture);
  EXPECT_EQ(missing.width, 800u);
}

TEST_F(TextureCacheTest, BuiltinPictureTwoHasAFullMipChain) {
  ComRef<gfx::Texture> chain;
  ASSERT_EQ(LoadBuiltinTexture(2, chain, true), gfx::kOk);
  EXPECT_EQ(chain->GetLevelCount(), 7u) << "64 x 64 down to 1 x 1";
  ComRef<gfx::Texture> single;
  ASSERT_EQ(LoadBuiltinTexture(2, single, false), gfx::kOk);
  EXPECT_EQ(single->GetLevelCount(), 1u);
  ComRef<gfx::Texture> none;
  EXPECT_EQ(LoadBuiltinTexture(3, none, false), gfx::kFail);
  EXPECT_EQ(LoadBuiltinTexture(3, single, false), gfx::kOk)
      << "a missing picture keeps what is held";

  ComRef<gfx::Texture> cached = Doc().Cache().GetBuiltinTexture();
  EXPECT_EQ(cached->GetLevelCount(), 7u);
  EXPECT_EQ(Doc().Cache().GetBuiltinTexture().Get(), cached.Get());
}

TEST_F(TextureCacheTest, EveryBuiltinPictureDecodes) {
  std::vector<uint16_t> ids = {2, 54, 57, 228};
  for (uint16_t id = 60; id <= 89; ++id)
    if (id != 73) ids.push_back(id);
  for (uint16_t id = 2000; id <= 2039; ++id)
    ids.push_back(id);
  for (uint16_t id : ids) {
    const auto bytes = res::FindResource(nullptr, u"DDS", id);
    ASSERT_TRUE(bytes) << id;
    const TextureRef made = CreateTextureFromBytes(*bytes);
    EXPECT_TRUE(made.texture) << id;
    EXPECT_NE(made.width, 800u) << id;
  }
}

TEST_F(TextureCacheTest, TrailPictureIsWhiteAndClearAtBothEdges) {
  const auto bytes = res::FindResource(nullptr, u"DDS", 228);
  ASSERT_TRUE(bytes);
  const auto picture = gfx::image::DecodePicture(*bytes);
  ASSERT_TRUE(picture && picture->hasAlpha);
  const uint32_t w = picture->width;
  ASSERT_GE(w, 16u);
  for (uint32_t y = 0; y < picture->height; ++y) {
    const uint32_t* row = &picture->argb[size_t{y} * w];
    for (uint32_t x = 0; x < w; ++x)
      EXPECT_EQ(row[x] & 0xFFFFFF, 0xFFFFFFu) << x << ", " << y;
    EXPECT_LE(row[0] >> 24, 2u) << "clear at u = 0";
    EXPECT_LE(row[w - 1] >> 24, 2u) << "clear at u = 1";
    EXPECT_GE(row[w / 2] >> 24, 250u) << "opaque in the middle";
    for (uint32_t x = 1; x < w / 2; ++x) {
      EXPECT_GE(row[x] >> 24, row[x - 1] >> 24) << "rises towards the middle at " << x;
      EXPECT_EQ(row[x] >> 24, row[w - 1 - x] >> 24) << "symmetric at " << x;
    }
  }
}

// Pictures decoded ahead make the textures that decoding them on the spot makes; a picture asked
// for out of turn is decoded on the spot, and a damaged one fails as it does there.
TEST_F(TextureCacheTest, PicturesDecodedAheadMakeTheSameTextures) {
  using gfx_image_test::EncodePicture, gfx_image_test::FileKind;
  gfx_image_test::Words pixels(6 * 5);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = 0xFF000000u | uint32_t(i * 0x0A1B2C) | (i % 3 == 0 ? 0x80000000u : 0);
  const std::vector<std::vector<uint8_t>> files = {EncodePicture(FileKind::Jpg, 6, 5, 3, pixels),
                                                   EncodePicture(FileKind::Png, 6, 5, 4, pixels),
                                                   {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3},
                                                   EncodePicture(FileKind::Png, 5, 6, 4, pixels)};
  std::vector<TextureRef> onTheSpot;
  for (const auto& file : files)
    onTheSpot.push_back(CreateTextureFromBytes(file));

  std::vector<TextureRef> ahead(files.size());
  {
    const PictureDecodeAhead decodeAhead({files.begin(), files.end()});
    for (const size_t i : {0, 3, 1, 2})
      ahead[i] = CreateTextureFromBytes(files[i]);
  }
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ahead[i].width, onTheSpot[i].width);
    EXPECT_EQ(ahead[i].height, onTheSpot[i].height);
    EXPECT_EQ(ahead[i].aspect, onTheSpot[i].aspect);
    ASSERT_EQ(bool(ahead[i].texture), i != 2);
    ASSERT_EQ(bool(onTheSpot[i].texture), i != 2);
    if (i == 2) continue;
    EXPECT_EQ(ahead[i].texture->GetLevelCount(), 1u);
    EXPECT_EQ(gfx_test::TexturePixels(ahead[i].texture.Get()),
              gfx_test::TexturePixels(onTheSpot[i].texture.Get()));
  }
}

TEST_F(TextureCacheTest, ModuleResourcesReplaceRecordBytesWithoutRunningCode) {
  const std::string name = UniqueModuleName("records");
  PeModuleWriter().AddDds(7, {1, 2}).AddRcData(8, {3, 4, 5}).WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());
  ResourceDataRecord dds = Record(7, module, {9});
  ASSERT_TRUE(LoadFromModule(dds));
  EXPECT_EQ(dds.bytes, (std::vector<uint8_t>{1, 2}));
  ResourceDataRecord rc = Record(0x30008, module, {9});
  ASSERT_TRUE(LoadFromModule(rc));
  EXPECT_EQ(rc.bytes, (std::vector<uint8_t>{3, 4, 5}));
  ResourceDataRecord none = Record(9, module, {9});
  EXPECT_FALSE(LoadFromModule(none));
  EXPECT_EQ(none.bytes, (std::vector<uint8_t>{9}));
}

}  // namespace
}  // namespace document_test
