#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/read_by_name.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/resources/zkw_alerter_texture_src.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

std::vector<uint8_t> Bytes(const std::function<void(DS_IOF_Archive&)>& write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

// Reads `bytes` through the player's stream with `read`; answers whether the stream stayed sound
// and was read to its end.
bool ReadAll(const std::vector<uint8_t>& bytes, const std::function<void(DS_IOF_Archive&)>& read) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  read(archive);
  return !archive.Failed() && buffer.Remaining() == 0;
}

std::unique_ptr<ZKW_TextureSRC> ReadSource(const std::vector<uint8_t>& bytes, bool* whole) {
  std::unique_ptr<ZKW_TextureSRC> source;
  *whole = ReadAll(bytes, [&](DS_IOF_Archive& a) { source = ReadTextureSrc(a); });
  return source;
}

std::vector<uint8_t> Saved(const ZKW_TextureSRC& source) {
  return Bytes([&](DS_IOF_Archive& a) { source.Save(a); });
}

struct KindCase {
  const char16_t* name;
  bool first, second;
  // Gives the kind's own fields values other than their defaults.
  std::function<void(ZKW_TextureSRC&)> fill;
};

const std::vector<KindCase>& Kinds() {
  static const std::vector<KindCase> kinds = {
      {u"ZKW_ResIDTex", false, false, [](ZKW_TextureSRC&) {}},
      {u"ZKW_ImgFileTex", false, true, [](ZKW_TextureSRC&) {}},
      {u"ZKW_SoftCircleTex", true, true,
       [](ZKW_TextureSRC& s) {
         auto& c = dynamic_cast<ZKW_SoftCircleTex&>(s);
         c.value1.RawValue() = 64;
         c.value2.RawValue() = 3;
         c.value3.RawValue() = -5;
       }},
      {u"ZKW_TextTexure", true, true,
       [](ZKW_TextureSRC& s) {
         auto& t = dynamic_cast<ZKW_TextTexure&>(s);
         t.text.RawValue() = u"Glow";
         t.font.face.RawValue() = u"Serif";
         t.font.size.RawValue() = 48;
         t.layer.enabled.RawValue() = 1;
         t.layer.amount.RawValue() = 9;
       }},
      {u"ZKW_PolygonTex", true, true,
       [](ZKW_TextureSRC& s) {
         auto& p = dynamic_cast<ZKW_PolygonTex&>(s);
         p.value1.RawValue() = 6;
         p.value2.RawValue() = 2;
         p.scaled.RawValue() = 50;
         p.value4.RawValue() = 1;
         p.value5.RawValue() = -1;
       }},
  };
  return kinds;
}

using TextureSources = DocumentTest;

TEST_F(TextureSources, ANewSourceLinksOnlyToItsOwnGuidName) {
  zkw_string previous;
  for (const KindCase& kind : Kinds()) {
    SCOPED_TRACE(ToUtf8(kind.name));
    const auto source = CreateByName(GetTextureSrcRegistry(), kind.name);
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->links.size(), 1u);
    const DS_ImageFileLink& link = source->links[0];
    EXPECT_EQ(link.name.size(), 38u);
    EXPECT_FALSE(GUID::Parse(link.name).IsNull()) << ToUtf8(link.name);
    EXPECT_EQ(link.id, 0);
    EXPECT_EQ(source->currentName, link.name);
    EXPECT_EQ(source->currentId, 0);
    EXPECT_NE(link.name, previous) << "every source makes a GUID of its own";
    previous = link.name;
    EXPECT_EQ(source->FirstKindFlag(), kind.first);
    EXPECT_EQ(source->SecondKindFlag(), kind.second);
  }
}

TEST_F(TextureSources, EveryKindReadsBackAndClonesToTheSamePicture) {
  for (const KindCase& kind : Kinds()) {
    SCOPED_TRACE(ToUtf8(kind.name));
    auto source = CreateByName(GetTextureSrcRegistry(), kind.name);
    kind.fill(*source);
    source->links = {DS_ImageFileLink(u"C:\\art\\spark.png", 7), DS_ImageFileLink(u"b.png", 9)};
    source->currentName = u"C:\\art\\spark.png";
    source->currentId = 7;
    source->valueA = 4;
    source->premultiplied = true;
    const std::vector<uint8_t> bytes = Saved(*source);

    bool whole = false;
    const auto read = ReadSource(bytes, &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Saved(*read), bytes) << "every field reads back";
    ASSERT_EQ(read->links.size(), 2u) << "the stored links replace the constructed one";
    EXPECT_EQ(read->links[0].Key(), source->links[0].Key());
    EXPECT_EQ(read->currentId, 7);
    EXPECT_TRUE(read->premultiplied);

    const auto clone = read->Clone();
    EXPECT_EQ(Saved(*clone), bytes) << "a clone is of the same kind with the same fields";
    EXPECT_TRUE(MediaValuesEqual<DS_NamedFileLinkData>(*clone, *source));
  }
}

TEST_F(TextureSources, KindFieldsAreRestored) {
  ZKW_SoftCircleTex circle;
  Kinds()[2].fill(circle);
  bool whole = false;
  const auto readCircle = ReadSource(Saved(circle), &whole);
  auto* c = dynamic_cast<ZKW_SoftCircleTex*>(readCircle.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->value1.Value(), 64u);
  EXPECT_EQ(c->value2.Value(), 3u);
  EXPECT_EQ(c->value3.Value(), -5);
  EXPECT_EQ(c->links[0].name, circle.links[0].name) << "the stored GUID link, not a new one";

  ZKW_TextTexure text;
  Kinds()[3].fill(text);
  const auto readText = ReadSource(Saved(text), &whole);
  auto* t = dynamic_cast<ZKW_TextTexure*>(readText.get());
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(t->text.Value(), u"Glow");
  EXPECT_EQ(t->font.face.Value(), u"Serif");
  EXPECT_EQ(t->layer.amount.Value(), 9u);

  // The polygon's scaled value follows the value read.
  ZKW_PolygonTex polygon;
  Kinds()[4].fill(polygon);
  const auto readPolygon = ReadSource(Saved(polygon), &whole);
  auto* p = dynamic_cast<ZKW_PolygonTex*>(readPolygon.get());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->scaled.Value(), 50u);
  EXPECT_FLOAT_EQ(p->scaled.Scaled(), 50.0f);
  EXPECT_EQ(p->value5.Value(), -1);
}

TEST_F(TextureSources, AnUnknownClassOrACutRecordFailsTheStream) {
  const std::vector<uint8_t> unknown =
      Bytes([](DS_IOF_Archive& a) { WriteRecordHeader(a, u"ZKW_TextureSRC", 1); });
  bool whole = true;
  EXPECT_EQ(ReadSource(unknown, &whole), nullptr) << "the base is not a kind of its own";
  EXPECT_FALSE(whole);

  std::vector<uint8_t> cut = Saved(ZKW_SoftCircleTex());
  cut.resize(cut.size() - 3);
  const auto source = ReadSource(cut, &whole);
  EXPECT_FALSE(whole);
  ASSERT_NE(source, nullptr);
}

TEST_F(TextureSources, TheAlerterRecordReadsBack) {
  ZKW_AlerterTextureSRC alerter;
  EXPECT_EQ(alerter.speed.Value(), 100u);
  EXPECT_FLOAT_EQ(alerter.speed.Scaled(), 1.0f);
  alerter.SetValue(DS_SafePtr<ZKW_TextureSRC>(std::make_unique<ZKW_PolygonTex>()));
  alerter.speed.SetValue(250);
  alerter.direction.RawValue() = 1;
  const std::vector<uint8_t> bytes =
      Bytes([&](DS_IOF_Archive& a) { WriteAlerterTextureSRC(a, alerter); });

  ZKW_AlerterTextureSRC read;
  EXPECT_TRUE(ReadAll(bytes, [&](DS_IOF_Archive& a) { ReadAlerterTextureSRC(a, read); }));
  ASSERT_NE(dynamic_cast<ZKW_PolygonTex*>(read.Source()), nullptr);
  EXPECT_EQ(read.Source()->links[0].name, alerter.Source()->links[0].name);
  EXPECT_FLOAT_EQ(read.speed.Scaled(), 2.5f);
  EXPECT_EQ(read.direction.Value(), 1);

  // Without a source a default one stands in, so the record still reads.
  ZKW_AlerterTextureSRC empty, again;
  const std::vector<uint8_t> emptyBytes =
      Bytes([&](DS_IOF_Archive& a) { WriteAlerterTextureSRC(a, empty); });
  EXPECT_TRUE(ReadAll(emptyBytes, [&](DS_IOF_Archive& a) { ReadAlerterTextureSRC(a, again); }));
  EXPECT_NE(dynamic_cast<ZKW_SoftCircleTex*>(again.Source()), nullptr);
}

TEST_F(TextureSources, AdvanceMovesTheClockAndStepsTheFrames) {
  ZKW_AlerterTextureSRC alerter;
  alerter.Advance(0.5f);
  EXPECT_FLOAT_EQ(alerter.speed.step, 0.2f) << "a step is at most 0.2 s at speed 1";
  EXPECT_FLOAT_EQ(alerter.speed.localTime, 0.2f);
  alerter.Advance(-1.0f);
  alerter.Advance(std::numeric_limits<float>::quiet_NaN());
  EXPECT_FLOAT_EQ(alerter.speed.localTime, 0.2f) << "no step backwards, no NaN";

  for (const int direction : {0, 1}) {
    ZKW_AlerterTextureSRC frames;
    frames.direction.RawValue() = direction;
    frames.frameSets.resize(2);
    for (LinkTextureSet& set : frames.frameSets)
      set.delays = {0.1f, 0.1f, 0.1f};
    frames.Advance(0.15f);
    for (const LinkTextureSet& set : frames.frameSets)
      EXPECT_EQ(set.frameIndex, direction == 0 ? 1u : 2u) << "direction " << direction;
  }
}

TEST_F(TextureSources, LoadFramesMakesOneSetPerLink) {
  ZKW_AlerterTextureSRC alerter;
  alerter.speed.SetValue(250);
  EXPECT_TRUE(alerter.LoadFrames(D3DX_FILTER_NONE));
  EXPECT_TRUE(alerter.frameSets.empty());
  EXPECT_FLOAT_EQ(alerter.speed.Scaled(), 2.5f) << "no source: the speed keeps its scale";

  auto source = std::make_unique<ZKW_ImgFileTex>();
  source->links = {DS_ImageFileLink(WriteFile("a.png", Png(4, 4)), 1),
                   DS_ImageFileLink(FromUtf8((folder_ / "missing.png").string()), 1)};
  source->modeParam.RawValue() = 0;
  alerter.SetValue(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
  alerter.frameSets.resize(5);
  EXPECT_TRUE(alerter.LoadFrames(D3DX_FILTER_NONE));
  ASSERT_EQ(alerter.frameSets.size(), 2u);
  EXPECT_EQ(alerter.frameSets[0].textures.size(), 1u);
  EXPECT_TRUE(alerter.frameSets[1].textures.empty()) << "a missing picture gives an empty set";
  EXPECT_TRUE(alerter.CurrentTexture());
  EXPECT_FLOAT_EQ(alerter.speed.Scaled(), 250.0f) << "mode 0 uses the stored speed unscaled";
}

TEST_F(TextureSources, MarkTexturesMultipliesAlphaInOnce) {
  ZKW_AlerterTextureSRC alerter;
  EXPECT_FALSE(alerter.MarkTextures()) << "no source";

  const auto tagOf = [](gfx::Texture* texture) {
    uint16_t value = 0;
    uint32_t size = sizeof value;
    return gfx::Succeeded(texture->GetPrivateData(kPremultipliedTag, &value, &size)) ? value : 0;
  };
  for (const bool premultiplied : {false, true}) {
    SCOPED_TRACE(premultiplied);
    auto source = std::make_unique<ZKW_ImgFileTex>();
    const std::string file = premultiplied ? "pm.png" : "straight.png";
    source->links = {DS_ImageFileLink(WriteFile(file, Png(2, 2, 0x80FF0000)), 1)};
    source->premultiplied = premultiplied;
    alerter.SetValue(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
    alerter.LoadFrames(D3DX_FILTER_NONE);
    ASSERT_TRUE(alerter.CurrentTexture());
    gfx::Texture* texture = alerter.CurrentTexture().Get();
    EXPECT_TRUE(alerter.MarkTextures());
    EXPECT_TRUE(alerter.MarkTextures());
    EXPECT_EQ(tagOf(texture), 1);
    // 255 x 128 / 255 once; a second multiply would give 64.
    EXPECT_EQ(FirstTexel(texture), premultiplied ? 0x80FF0000u : 0x80800000u);
  }
}

}  // namespace
}  // namespace document_test
