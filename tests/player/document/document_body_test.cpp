#include <gtest/gtest.h>

#include "core/archive/archive_fixture.h"
#include "core/link/ds_named_file_link.h"
#include "core/scene/scene_services.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

LinkKey K(const char16_t* name, int64_t id) {
  return LinkKey{name, id};
}

const GUID kGuid = GUID::Parse(u"{11111111-2222-3333-4444-555555555555}");

class DocumentBody : public DocumentTest {
 protected:
  // Reads a body of the given version into the current document; answers the bytes left.
  uint64_t Read(std::vector<uint8_t> bytes, uint32_t version, SourceMode mode = SourceMode::File) {
    ArchiveSource src(mode, std::move(bytes));
    Doc().Read(src.archive(), version);
    failed_ = src.archive().Failed();
    return src.buffer().Remaining();
  }

  // A body with one entry in each of the five sections.
  static std::vector<uint8_t> FullBody() {
    BodyWriter body;
    body.Records({{u"glimres.dll", 7, {Record(7, u"glimres.dll", Png(4, 2))}}})
        .Delays({{u"glimres.dll", 7, {0.5f}}})
        .Records({{u"mesh.x", 3, {Record(0, u"", {1, 2, 3}, u"mesh.x")}}})
        .Guids({{kGuid, u"picture", true, Png(8, 8)}})
        .Frames({{u"anim.png", 9, {Frame(Png(2, 2), 0.1f), Frame(Png(2, 2), 0.2f)}}});
    return body.Bytes();
  }

  bool failed_ = false;
};

TEST_F(DocumentBody, VersionSaysHowManySectionsAreRead) {
  const LinkKey image{u"glimres.dll", 7}, mesh{u"mesh.x", 3}, frames{u"anim.png", 9};
  const GuidPictureKey guid{kGuid, u"", 0};
  for (uint32_t version : {1u, 2u, 3u, 4u, 0u, 77u}) {
    SCOPED_TRACE("version " + std::to_string(version));
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    const uint64_t left = Read(FullBody(), version);
    const int sections = version == 0 || version > 4 ? 5 : int(version) + 1;
    EXPECT_FALSE(failed_);
    EXPECT_EQ(left == 0, sections == 5);

    ASSERT_EQ(Doc().imageTextureSets.count(image), 1u);
    const ImageTextureSet& set = Doc().imageTextureSets[image];
    ASSERT_EQ(set.textures.size(), 1u);
    EXPECT_TRUE(set.textures[0]);
    EXPECT_EQ(set.width, 4u);
    EXPECT_EQ(set.aspect, 0.5f);
    EXPECT_EQ(Doc().resourceRecords.count(mesh), sections >= 3 ? 1u : 0u);
    EXPECT_EQ(Doc().guidTextures.count(guid), sections >= 4 ? 1u : 0u);
    EXPECT_EQ(Doc().framesByLink.count(GuidLinkKey(kGuid)), sections >= 4 ? 1u : 0u);
    EXPECT_EQ(Doc().framesByLink.count(frames), sections >= 5 ? 1u : 0u);
    EXPECT_TRUE(Doc().imageRecordTable.empty() && Doc().frameDelayTable.empty() &&
                Doc().linkRecordTable.empty() && Doc().guidPictureTable.empty())
        << "staging tables are emptied however far the body goes";
  }
  if (Doc().guidTextures.size() == 1) {
    EXPECT_EQ(FirstTexel(Doc().guidTextures.begin()->second.Get()), 0xFF336699u);
  }
}

TEST_F(DocumentBody, FirstEntryWinsAndSectionOneBeatsSectionThree) {
  BodyWriter body;
  body.Records({{u"a.png", 1, {Record(0, u"", Png(2, 2), u"first.png")}},
                {u"a.png", 1, {Record(0, u"", Png(4, 4), u"second.png")}},
                {u"b.png", 2, {Record(0, u"", Png(2, 4), u"b.png")}}})
      .Delays({})
      .Records({{u"b.png", 2, {Record(0, u"", {9}, u"from section 3")}},
                {u"c.x", 3, {Record(0, u"", {1}, u"c.x")}},
                {u"c.x", 3, {Record(0, u"", {2}, u"dropped")}}})
      .Guids({})
      .Frames({});
  EXPECT_EQ(Read(body.Bytes(), 4), 0u);
  EXPECT_FALSE(failed_);
  auto& records = Doc().resourceRecords;
  EXPECT_EQ(records[K(u"a.png", 1)].at(0).path, u"first.png");
  EXPECT_EQ(Doc().imageTextureSets[K(u"a.png", 1)].width, 2u);
  EXPECT_EQ(records[K(u"b.png", 2)].at(0).path, u"b.png");
  EXPECT_EQ(records[K(u"c.x", 3)].at(0).path, u"c.x");
}

TEST_F(DocumentBody, GuidPictureFrameBeatsStoredFrameList) {
  BodyWriter body;
  body.Records({})
      .Delays({})
      .Records({})
      .Guids({{kGuid, u"", false, Png(2, 2)}})
      .Frames({{kGuid.ToString(), 0, {Frame({1, 2}, 0.5f), Frame({3, 4}, 0.5f)}}});
  Read(body.Bytes(), 4);
  const auto& frames = Doc().framesByLink[GuidLinkKey(kGuid)];
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes.Count(), Png(2, 2).size());
  EXPECT_TRUE(frames[0].name.empty());
}

TEST_F(DocumentBody, DelaysOnlyForLinksOfSeveralPictures) {
  BodyWriter body;
  body.Records({{u"one.png", 1, {Record(0, u"", Png(2, 2), u"one.png")}},
                {u"two.png",
                 2,
                 {Record(0, u"", Png(2, 2), u"a.png"), Record(0, u"", {0xBA, 0xD0}, u"b.png")}},
                {u"three.png",
                 3,
                 {Record(0, u"", Png(2, 2), u"a.png"), Record(0, u"", Png(2, 2), u"b.png")}}})
      .Delays({{u"one.png", 1, {0.3f}}, {u"two.png", 2, {0.1f, 0.2f}}});
  Read(body.Bytes(), 1);
  EXPECT_TRUE(Doc().imageTextureSets[K(u"one.png", 1)].delays.empty());
  const ImageTextureSet& two = Doc().imageTextureSets[K(u"two.png", 2)];
  EXPECT_EQ(two.delays, (std::vector<float>{0.1f, 0.2f}));
  ASSERT_EQ(two.textures.size(), 2u);
  EXPECT_TRUE(two.textures[0]);
  EXPECT_FALSE(two.textures[1]) << "an undecodable picture leaves a null texture";
  EXPECT_EQ(two.width, 800u) << "and reports the fallback size";
  EXPECT_EQ(two.aspect, 0.75f);
  EXPECT_TRUE(Doc().imageTextureSets[K(u"three.png", 3)].delays.empty())
      << "no delays stored: an empty list";
}

TEST_F(DocumentBody, DamagedCountsFailTheStreamWithoutAllocating) {
  for (uint32_t section = 0; section < 5; ++section) {
    SCOPED_TRACE("section " + std::to_string(section + 1));
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    BodyWriter body;
    for (uint32_t s = 0; s < section; ++s)
      body.Dword(0);
    body.Dword(0x7FFFFFFF).Dword(0);
    Read(body.Bytes(), 4, SourceMode::Memory);
    EXPECT_TRUE(failed_);
  }
  // A frame list whose frame claims more bytes than remain.
  BodyWriter body;
  body.Records({}).Delays({}).Records({}).Guids({});
  body.Dword(1);
  body.Archive().io().WriteWideString(u"x.png");
  body.Archive().io().WriteInt64(1);
  body.Dword(1).Dword(1).Dword(0x7FFFFFF0).Dword(0);
  Read(body.Bytes(), 4);
  EXPECT_TRUE(failed_);
  EXPECT_EQ(Doc().framesByLink.count(K(u"x.png", 1)), 0u);
}

TEST_F(DocumentBody, RoundTripThroughTheWriter) {
  const std::vector<DS_ImageFileLink> images = {DS_ImageFileLink(u"pics.dll", 5),
                                                DS_ImageFileLink(u"", 0)};
  BodyWriter body;
  body.Records({{u"pics.dll",
                 5,
                 {Record(5, u"pics.dll", Png(2, 2)), Record(6, u"pics.dll", Png(4, 4))}}})
      .Delays({{u"pics.dll", 5, {0.25f, 0.75f}}})
      .Records({{u"fx.dll", 88, {Record(88, u"fx.dll", {1, 2, 3})}}})
      .Guids({{kGuid, u"g", false, Png(2, 2)}})
      .Frames({{u"anim.png", 9, {Frame(Png(2, 2), 0.1f), Frame(Png(4, 2), 0.2f)}}});
  Read(body.Bytes(), 4);
  ASSERT_FALSE(failed_);
  Doc().BuildLinkTextures(DS_FileLink3(u"anim.png", 9), D3DX_FILTER_NONE);

  // The scene's records are written first; their links register with the document.
  DS_IOF_Archive scene(std::make_unique<DS_IOF_W>());
  WriteImageLinks(scene, images);
  WriteImageLinks(scene, {DS_ImageFileLink(u"anim.png", 9)});
  WriteFileLink(scene, DS_HLSLEffectFile(u"fx.dll", 88));
  WriteFileLink(scene, DS_MeshFile(u"", 0));
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  SaveDocumentRecord(Doc(), out);
  EXPECT_TRUE(Doc().imageRecordTable.empty() && Doc().framesToSave.empty() &&
              Doc().linkRecordTable.empty());

  std::vector<uint8_t> bytes = static_cast<DS_IOF_W&>(out.io()).Bytes();
  const DS_DocResManager& first = Doc();
  auto second = std::make_unique<DS_DocResManager>();
  ArchiveSource src(SourceMode::Memory, bytes);
  zkw_string name;
  uint32_t version = 0;
  src.io().ReadWideString(name);
  src.io().ReadDword(version);
  EXPECT_EQ(name, u"DS_DocResManager");
  EXPECT_EQ(version, 4u);
  second->Read(src.archive(), version);
  EXPECT_FALSE(src.archive().Failed());
  EXPECT_EQ(src.buffer().Remaining(), 0u);

  EXPECT_EQ(second->resourceRecords.at(K(u"pics.dll", 5)),
            first.resourceRecords.at(K(u"pics.dll", 5)));
  EXPECT_EQ(second->imageTextureSets.at(K(u"pics.dll", 5)).delays,
            (std::vector<float>{0.25f, 0.75f}));
  EXPECT_EQ(second->resourceRecords.at(K(u"fx.dll", 88)),
            first.resourceRecords.at(K(u"fx.dll", 88)));
  EXPECT_EQ(second->resourceRecords.count(K(u"", 0)), 0u) << "unnamed links are not stored";
  const auto& frames = second->framesByLink.at(K(u"anim.png", 9));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].delay, 0.2f);
  EXPECT_EQ(frames[1].bytes.Count(), Png(4, 2).size());
  EXPECT_EQ(second->guidTextures.size(), 0u) << "GUID pictures are not written back";
}

TEST_F(DocumentBody, RegisteringAnUnnamedLinkChangesNothing) {
  Doc().RegisterSavedLink(DS_ImageFileLink());
  EXPECT_TRUE(Doc().imageRecordTable.empty());
  EXPECT_TRUE(Doc().imageTextureSets.empty());
  EXPECT_TRUE(Doc().resourceRecords.empty());
}

}  // namespace
}  // namespace document_test
