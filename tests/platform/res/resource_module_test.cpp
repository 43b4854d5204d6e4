#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/res/data_modules.h"
#include "platform/res/pe_image_builder.h"
#include "platform/res/resource_module.h"
#include "platform/sys/file_paths.h"

const res::ResourceTable& TestResourceTable();

namespace {

namespace fs = std::filesystem;

std::string Text(std::optional<std::span<const uint8_t>> bytes) {
  if (!bytes) return "<none>";
  return std::string(bytes->begin(), bytes->end());
}

std::unique_ptr<res::Module> LoadTestDll() {
  const fs::path dll = SCENE_TEST_RESOURCE_DLL;
  if (dll.empty()) return nullptr;
  auto bytes = sys::ReadWholeFile(dll);
  return bytes ? res::Module::FromPeImage(std::move(*bytes)) : nullptr;
}

// The same resources, compiled in from a manifest and built into a PE module, must read alike.
void ExpectTestResources(const res::Module& m) {
  const struct {
    res::ResName type;
    uint16_t id;
    std::string bytes;
  } cases[] = {
      {u"DDS", 54, "EN-54"},           // 1033 wins over a language stored before it
      {u"dds", 54, "EN-54"},           // type names ignore case
      {res::kRtRcData, 77, "FR-77"},   // only another language: the first stored
      {u"DDS", 60, ""},                // an empty resource exists
      {u"DDS", 55, "<none>"},          // unknown id
      {res::kRtRcData, 54, "<none>"},  // known id, other type
      {u"Other", 54, "<none>"},        // unknown type name
  };
  for (const auto& c : cases)
    EXPECT_EQ(Text(m.Find(c.type, c.id)), c.bytes)
        << (c.type.IsId() ? std::to_string(c.type.Id()) : ToUtf8(c.type.Name())) << " " << c.id;
  EXPECT_EQ(m.LoadString(7), u"460");
  EXPECT_EQ(m.LoadString(40), u"forty");
  EXPECT_EQ(m.LoadString(8), u"");
  EXPECT_EQ(m.LoadString(999), u"");
}

TEST(ResourceModule, CompiledTableByNameAndNumber) {
  const auto m = res::Module::FromTable(TestResourceTable());
  ExpectTestResources(*m);
  EXPECT_EQ(Text(m->Find(res::ResName(10), 78)), "EN-54");
  EXPECT_EQ(Text(m->Find(u"NAMED", 5)), "NAMED");
  EXPECT_EQ(m->LoadString(6), u"Title; with semicolon");
}

TEST(ResourceModule, PeModuleBuiltByMinGw) {
  const auto m = LoadTestDll();
  if (!m)
    GTEST_SKIP() << "no test module: the MinGW-w64 tools (x86_64-w64-mingw32-windres, -ld) "
                    "were not found when the build was configured";
  ExpectTestResources(*m);
  EXPECT_EQ(Text(m->Find(u"named", u"namedres")), "NAMED") << "string names, any case";
  EXPECT_EQ(Text(m->Find(u"Named", 5)), "<none>") << "a string name is no id";
  EXPECT_EQ(m->LoadString(6), u"Title");
}

TEST(ResourceModule, OwnResourcesHoldTheWindowStrings) {
  EXPECT_EQ(res::LoadString(nullptr, 6), u"D3DX9_44");
  EXPECT_EQ(res::LoadString(nullptr, 7), u"460");
  EXPECT_EQ(res::LoadString(nullptr, 8), u"215");
}

TEST(DataModules, TableByFileNameAndFallbackToOwnResources) {
  EXPECT_EQ(res::GetDataModule(u"no-such-module.dll"), nullptr);
  EXPECT_EQ(res::GetDataModule(u"no-such-module.dll"), nullptr) << "failures are tried again";
  EXPECT_EQ(res::GetDataModule(u""), nullptr);
  // A missing module searches the player's own resources.
  const auto viaMissing = res::FindResource(res::GetDataModule(u"glimres.dll"), res::kRtString, 1);
  ASSERT_TRUE(viaMissing);
  EXPECT_EQ(viaMissing->data(), res::FindResource(nullptr, res::kRtString, 1)->data());

  const std::string dll = SCENE_TEST_RESOURCE_DLL;
  if (dll.empty()) GTEST_SKIP() << "no test module (MinGW-w64 tools absent)";
  const fs::path copyDir = fs::temp_directory_path() / ("data-modules-" + std::to_string(getpid()));
  fs::create_directories(copyDir);
  fs::copy_file(dll, copyDir / "test_module.dll", fs::copy_options::overwrite_existing);
  const res::Module* first = res::GetDataModule(FromUtf8(dll));
  ASSERT_NE(first, nullptr);
  // Another folder, same file name, Windows separators: the module read first.
  EXPECT_EQ(res::GetDataModule(FromUtf8((copyDir / "test_module.dll").string())), first);
  fs::remove_all(copyDir);
  EXPECT_EQ(Text(res::FindResource(first, u"DDS", 54)), "EN-54");
  const auto bytes = res::LoadModuleResourceBytes(u"C:\\x\\test_module.dll", 77);
  ASSERT_TRUE(bytes) << "RT_RCDATA is searched after DDS";
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "FR-77");
  EXPECT_FALSE(res::LoadModuleResourceBytes(u"test_module.dll", 1234));
}

TEST(PeResourceReader, MinimalPe32) {
  PeImageBuilder pe;
  const auto m = res::Module::FromPeImage(pe.bytes);
  ASSERT_TRUE(m);
  EXPECT_EQ(Text(m->Find(res::kRtRcData, 77)), "ABCD");
}

TEST(PeResourceReader, DamagedFilesReadSafely) {
  // Every truncation: no crash, and never bytes from outside the file.
  const PeImageBuilder good;
  for (size_t n = 0; n < good.bytes.size(); ++n) {
    const std::vector<uint8_t> cut(good.bytes.begin(), good.bytes.begin() + n);
    const auto m = res::Module::FromPeImage(cut);
    if (m) {
      EXPECT_EQ(Text(m->Find(res::kRtRcData, 77)), n >= 0x200 + 92 ? "ABCD" : "<none>") << n;
    }
  }
  EXPECT_FALSE(res::Module::FromPeImage({'M', 'Z'}));
  {
    PeImageBuilder pe;  // a directory that points back at the root
    pe.Put32(PeImageBuilder::kSectionFile + PeImageBuilder::kNameDirEntryTarget, 0x80000000u);
    const auto m = res::Module::FromPeImage(pe.bytes);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->Entries().empty());
  }
  {
    PeImageBuilder pe;  // an absurd entry count runs off the end and stops
    pe.Put16(PeImageBuilder::kSectionFile + PeImageBuilder::kRootDir + 12, 0xFFFF);
    EXPECT_TRUE(res::Module::FromPeImage(pe.bytes));
  }
  {
    // Directories laid over each other: every 8 bytes an entry that names the next directory,
    // and every directory header counts tens of thousands of entries. Reading each directory
    // once still means billions of entries; the walk has to stop long before.
    PeImageBuilder pe;
    const size_t sectionBytes = size_t(2) << 20;
    pe.ResizeSection(sectionBytes);
    for (size_t at = 0; at + 8 <= sectionBytes; at += 8) {
      pe.Put32(PeImageBuilder::kSectionFile + at, 1);
      pe.Put32(PeImageBuilder::kSectionFile + at + 4, 0x80000000u | uint32_t(at));
    }
    EXPECT_TRUE(res::Module::FromPeImage(pe.bytes));
  }
  {
    // One type and one name, both the longest string a name can be, over 65535 languages of
    // the same data: a file of a megabyte that asks for seventeen gigabytes of names.
    PeImageBuilder pe;
    const size_t sectionBytes = size_t(1) << 20;
    pe.ResizeSection(sectionBytes);
    const size_t at = PeImageBuilder::kSectionFile;
    const uint32_t text = 0x80000, data = 0x70000, sub = 0x80000000u;
    pe.Put16(at + text, 0xFFFF);
    for (size_t i = 0; i < 0xFFFF; ++i)
      pe.Put16(at + text + 2 + 2 * i, u'A');
    for (const uint32_t dir : {0u, 24u}) {  // the root and the name directory: one named entry
      pe.Put16(at + dir + 12, 1);
      pe.Put16(at + dir + 14, 0);
      pe.Put32(at + dir + 16, sub | text);
      pe.Put32(at + dir + 20, sub | (dir + 24));
    }
    pe.Put16(at + 48 + 12, 0);
    pe.Put16(at + 48 + 14, 0xFFFF);
    for (uint32_t i = 0; i < 0xFFFF; ++i) {
      pe.Put32(at + 48 + 16 + 8 * i, i);
      pe.Put32(at + 48 + 20 + 8 * i, data);
    }
    pe.Put32(at + data, PeImageBuilder::kSectionRva + data + 16);
    pe.Put32(at + data + 4, 4);
    EXPECT_TRUE(res::Module::FromPeImage(pe.bytes));
  }
  {
    PeImageBuilder pe;  // data RVA outside every section
    pe.Put32(PeImageBuilder::kSectionFile + PeImageBuilder::kDataEntryRva, 0x7FFF0000u);
    EXPECT_TRUE(res::Module::FromPeImage(pe.bytes)->Entries().empty());
  }
  {
    PeImageBuilder pe;  // data size past the section's raw bytes
    pe.Put32(PeImageBuilder::kSectionFile + PeImageBuilder::kDataEntryRva + 4, 0x1000);
    EXPECT_TRUE(res::Module::FromPeImage(pe.bytes)->Entries().empty());
  }
  {
    PeImageBuilder pe;  // unknown optional-header kind: not a PE we read
    pe.Put16(0x58, 0x107);
    EXPECT_FALSE(res::Module::FromPeImage(pe.bytes));
  }
}

}  // namespace
