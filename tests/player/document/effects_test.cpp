#include <gtest/gtest.h>

#include <string>

#include "player/document/effect_source.h"
#include "player/support/body_writer.h"
#include "player/support/document_fixture.h"
#include "player/support/pe_module_writer.h"

namespace document_test {
namespace {

// An effect in our format whose only technique has the given name.
std::vector<uint8_t> EffectText(const std::string& technique) {
  const std::string text = "#vornview effect 1\nfloat Level = 0.5;\ntechnique " + technique +
                           " {\n  pass {\n    AlphaBlendEnable = True;\n  }\n}\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::string TechniqueOf(const ComRef<gfx::Effect>& effect) {
  return effect ? std::string(effect->GetTechnique(0)) : std::string();
}

using Effects = DocumentTest;

TEST_F(Effects, CompiledOncePerLinkAndShared) {
  const DS_HLSLEffectFile link(u"stored.fx", 1);
  Doc().resourceRecords[link.Key()] = {Record(0, u"", EffectText("Stored"), u"stored.fx")};
  ComRef<gfx::Effect> first = Doc().GetEffect(link);
  ASSERT_TRUE(first);
  EXPECT_EQ(TechniqueOf(first), "Stored");
  ASSERT_EQ(first->SetTechnique("Stored"), gfx::kOk);
  ComRef<gfx::Effect> second = Doc().GetEffect(link);
  EXPECT_EQ(second.Get(), first.Get()) << "one effect per link";
  const uint32_t references = first->AddRef();
  first->Release();
  EXPECT_EQ(references, 4u) << "the cache and each of the two answers hold one";

  const DS_HLSLEffectFile missing(u"", 4321);
  EXPECT_FALSE(Doc().GetEffect(missing));
  EXPECT_EQ(Doc().resourceRecords[missing.Key()].size(), 1u) << "the link's record is kept";
  Doc().resourceRecords[missing.Key()].back().bytes = EffectText("Later");
  EXPECT_EQ(TechniqueOf(Doc().GetEffect(missing)), "Later") << "a failure is tried again";

  Doc().ReleaseDeviceObjects();
  Doc().OnResetDevice();
  EXPECT_EQ(Doc().GetEffect(link).Get(), first.Get());
}

TEST_F(Effects, ALibraryEffectInOurFormatWinsOverTheStoredOne) {
  const std::string name = UniqueModuleName("effects");
  PeModuleWriter()
      .AddRcData(88, EffectText("FromLibrary"))
      .AddRcData(89, {0x01, 0x09, 0xFF, 0xFE})  // an effect compiled for another platform
      .AddDds(90, EffectText("NotAnRcData"))
      .WriteTo(folder_ / name);
  const zkw_string module = FromUtf8((folder_ / name).string());
  for (int id : {88, 89, 90})
    Doc().resourceRecords[(LinkKey{module, id})] = {Record(id, module, EffectText("Stored"))};

  EXPECT_EQ(TechniqueOf(Doc().GetEffect(DS_HLSLEffectFile(module, 88))), "FromLibrary");
  EXPECT_EQ(Doc().resourceRecords[(LinkKey{module, 88})].back().bytes, EffectText("FromLibrary"))
      << "the library's effect replaces the stored bytes";
  EXPECT_EQ(TechniqueOf(Doc().GetEffect(DS_HLSLEffectFile(module, 89))), "Stored");
  EXPECT_EQ(TechniqueOf(Doc().GetEffect(DS_HLSLEffectFile(module, 90))), "Stored");
}

TEST(EffectSource, ForeignBytesGiveWayToTheBuiltinEffect) {
  const std::vector<uint8_t> ours = EffectText("Ours"), builtin = EffectText("Builtin");
  const std::vector<uint8_t> foreign = {0x01, 0x09, 0xFF, 0xFE};
  ResourceDataRecord stored = Record(7, u"glimres.dll", foreign);
  auto bytes = SelectEffectBytes(stored, std::span<const uint8_t>(foreign), builtin);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), builtin);
  EXPECT_EQ(stored.bytes, foreign) << "the project's bytes are kept for a save";

  stored.bytes = ours;
  bytes = SelectEffectBytes(stored, std::nullopt, builtin);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), ours);

  stored.bytes = foreign;
  EXPECT_TRUE(SelectEffectBytes(stored, std::nullopt, std::nullopt).empty());
}

}  // namespace
}  // namespace document_test
