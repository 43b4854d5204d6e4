#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <stdexcept>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/registry/core_class_list.h"
#include "core/registry/read_by_name.h"

namespace {

// Small archived classes of the particle-engine family, for the registry's own tests.
class TestBase : public ZKW_IOF_Item {
 public:
  int32_t baseValue = -1;
  uint32_t bodyVersion = 0;
  bool Save(DS_IOF_Archive& ar) const override {
    WriteRecordHeader(ar, u"TestBase", 3);
    ar.io().WriteInt32(baseValue);
    return true;
  }
  void ReadBody(DS_IOF_Archive& ar, uint32_t version) {
    bodyVersion = version;
    ar.io().ReadInt32(baseValue);
  }
};

class ZKW_Tears : public TestBase {
 public:
  float value = 0;
  bool Save(DS_IOF_Archive& ar) const override {
    WriteRecordHeader(ar, u"ZKW_Tears", 2);
    ar.io().WriteFloat(value);
    return TestBase::Save(ar);
  }
  void ReadBody(DS_IOF_Archive& ar, uint32_t version) {
    ar.io().ReadFloat(value);
    TestBase::ReadBody(ar, ReadBaseHeader(ar));
    ownVersion = version;
  }
  uint32_t ownVersion = 0;
};

using ItemRegistry = FamilyRegistry<ZKW_IOF_Item>;

std::unique_ptr<ItemRegistry> MakeRegistry() {
  auto registry = std::make_unique<ItemRegistry>();
  AddClass<ZKW_Tears>(*registry, u"ZKW_Tears");
  registry->AddAlias(u"ZKW_TearsAlias", u"ZKW_Tears");
  return registry;
}

std::vector<uint8_t> Saved(const std::vector<const DS_IOF_Item*>& items) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  for (const DS_IOF_Item* item : items)
    item->Save(archive);
  return w.TakeBytes();
}

TEST(ClassRegistry, LookupIsExactAndCaseSensitive) {
  auto registry = MakeRegistry();
  EXPECT_NE(registry->Find(u"ZKW_Tears"), nullptr);
  EXPECT_EQ(registry->Find(u"zkw_tears"), nullptr);
  EXPECT_EQ(registry->Find(u"ZKW_Tear"), nullptr);
  EXPECT_EQ(registry->Find(u"ZKW_Tears "), nullptr);
  EXPECT_EQ(registry->Size(), 2u);

  auto aliased = CreateByName(*registry, u"ZKW_TearsAlias");
  EXPECT_NE(dynamic_cast<ZKW_Tears*>(aliased.get()), nullptr)
      << "an alias makes the class it names";
  EXPECT_EQ(CreateByName(*registry, u"Missing"), nullptr);
}

TEST(ClassRegistry, MistakesInAClassListThrow) {
  ItemRegistry registry;
  AddClass<ZKW_Tears>(registry, u"ZKW_Tears");
  AddClass<ZKW_Tears>(registry, u"ZKW_Tears");  // the same entry again: no change
  EXPECT_THROW(AddClass<TestBase>(registry, u"ZKW_Tears"), std::logic_error);
  EXPECT_THROW(registry.AddAlias(u"Other", u"Missing"), std::logic_error);
  registry.Seal();
  EXPECT_THROW(AddClass<TestBase>(registry, u"TestBase"), std::logic_error);
  EXPECT_EQ(registry.Size(), 1u);
}

TEST(ReadByName, ReadsRegisteredRecordsWithTheirVersions) {
  auto registry = MakeRegistry();
  ZKW_Tears tears;
  tears.value = 2.5f;
  tears.baseValue = 9;
  ArchiveSource src(SourceMode::Memory, Saved({&tears}));

  auto read = ReadByName(src.archive(), *registry);
  auto* readTears = dynamic_cast<ZKW_Tears*>(read.get());
  ASSERT_NE(readTears, nullptr);
  EXPECT_EQ(readTears->value, 2.5f);
  EXPECT_EQ(readTears->ownVersion, 2u);
  EXPECT_EQ(readTears->baseValue, 9);
  EXPECT_EQ(readTears->bodyVersion, 3u);
  EXPECT_EQ(src.buffer().Remaining(), 0u);
  EXPECT_FALSE(src.archive().Failed());
}

TEST(ReadByName, UnknownClassFailsTheStreamSoTheRestReadsAsDefaults) {
  auto registry = MakeRegistry();
  TestBase unknown;  // "TestBase" is not registered
  ZKW_Tears tears;
  tears.value = 7.0f;
  ArchiveSource src(SourceMode::Memory, Saved({&unknown, &tears}));
  EXPECT_EQ(ReadByName(src.archive(), *registry), nullptr);
  EXPECT_TRUE(src.archive().Failed());
  EXPECT_EQ(ReadByName(src.archive(), *registry), nullptr);
}

TEST(ReadByName, ListKeepsNullsAndRefusesCountsTheBytesCannotHold) {
  auto registry = MakeRegistry();
  ZKW_Tears tears;
  DS_IOF_W count;
  count.WriteDword(2);
  auto bytes = count.TakeBytes();
  Append(bytes, Saved({&tears, &tears}));
  ArchiveSource src(SourceMode::Memory, bytes);
  std::list<std::unique_ptr<ZKW_IOF_Item>> list;
  ReadListByName(src.archive(), *registry, list);
  EXPECT_EQ(list.size(), 2u);

  auto huge = Bytes({0xFF, 0xFF, 0xFF, 0x0F});
  Append(huge, Saved({&tears}));
  ArchiveSource bad(SourceMode::File, huge);
  list.clear();
  ReadListByName(bad.archive(), *registry, list);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(bad.archive().Failed());
}

// A record that holds a record of its own class, nested deeper than any project nests.
class Nest : public ZKW_IOF_Item {
 public:
  bool Save(DS_IOF_Archive&) const override { return true; }
  void ReadBody(DS_IOF_Archive& ar, uint32_t);
  std::unique_ptr<ZKW_IOF_Item> child;
};

const ItemRegistry& NestRegistry() {
  static const auto registry = [] {
    auto r = std::make_unique<ItemRegistry>();
    AddClass<Nest>(*r, u"Nest");
    return r;
  }();
  return *registry;
}

void Nest::ReadBody(DS_IOF_Archive& ar, uint32_t) {
  child = ReadByName(ar, NestRegistry());
}

TEST(ReadByName, NestingIsBounded) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive out(std::move(writer));
  for (int i = 0; i < kMaxRecordNesting + 10; ++i)
    WriteRecordHeader(out, u"Nest", 1);
  ArchiveSource src(SourceMode::Memory, w.Bytes());
  auto root = ReadByName(src.archive(), NestRegistry());
  int depth = 0;
  for (auto* node = root.get(); node != nullptr; node = static_cast<Nest*>(node)->child.get()) {
    ++depth;
  }
  EXPECT_EQ(depth, kMaxRecordNesting);
  EXPECT_TRUE(src.archive().Failed());
}

TEST(ClassRegistries, FilledOnceThenSealed) {
  RegisterClasses({RegisterCoreClasses});
  EXPECT_TRUE(ClassRegistriesSealed());
  RegisterClasses({RegisterCoreClasses});  // already ran: nothing to do
  EXPECT_THROW(RegisterClasses({[](ClassRegistries&) {}}), std::logic_error);
  EXPECT_TRUE(GetTimingRegistry().Sealed());
  EXPECT_EQ(GetNodeExtraRegistry().Size(), 0u);
  EXPECT_EQ(CreateByName(GetNodeExtraRegistry(), u"Anything"), nullptr);
  EXPECT_EQ(CreateIofItemByName("ZKW_NoSuchClass"), nullptr);
  EXPECT_THROW(CreateIofItemByName("\xC3("), std::range_error);
}

}  // namespace
